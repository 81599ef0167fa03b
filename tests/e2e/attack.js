// What a page on a sign-in origin tries for the bridge: it looks for a
// channel transport wherever one could be, in its own window or in holder
// (a window it keeps), sends raw calls through whatever it finds, logging
// "HOSTILE FOUND", and offers the bridge's relay a node of its own for the
// same calls, as the web application's transport does, as if a relay
// listened there.
"use strict";
const rawCall = (method, args) =>
    JSON.stringify({type: 6, object: "vizEveDivuzaviz", method, args, id: 1});

function attack(moment, holder = window) {
    const places = {
        window: () => holder.qt, top: () => holder.top.qt, parent: () => holder.parent.qt,
        opener: () => holder.opener && holder.opener.qt,
    };
    for (const [place, find] of Object.entries(places)) {
        let transport;
        try {
            transport = find().webChannelTransport;
        } catch (error) {
            continue;
        }
        if (!transport)
            continue;
        console.log(`HOSTILE FOUND in ${place} at ${moment}`);
        try {
            transport.send(rawCall("setIni", ["Pwned", moment]));
            transport.send(rawCall("Connected", []));
        } catch (error) {
        }
    }
    try {
        const link = holder.document.createElement("span");
        holder.document.dispatchEvent(new FocusEvent("vantrelnut-bridge-link", {relatedTarget: link}));
        for (const detail of [rawCall("setIni", ["Pwned", moment]), rawCall("Connected", [])])
            link.dispatchEvent(new CustomEvent("send", {detail}));
    } catch (error) {
    }
}

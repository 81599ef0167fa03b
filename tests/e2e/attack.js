// What a page on a sign-in origin tries for the bridge: it looks for a
// channel transport wherever one could be, in its own window or in holder
// (a window it keeps), sends raw calls through whatever it finds, logging
// "HOSTILE FOUND", and sends the same through the bridge's own events, as
// if a relay listened there.
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
        for (const detail of [rawCall("setIni", ["Pwned", moment]), rawCall("Connected", [])])
            holder.document.dispatchEvent(new CustomEvent("vantrelnut-bridge-send", {detail}));
    } catch (error) {
    }
}

// The page's qt.webChannelTransport, in a document of the web application's
// own shown in the window's main frame: what the page sends goes to the relay
// in the bridge's world of this same document (relay.js), and what the relay
// receives comes back. Run by the renderer as each document is made, before
// any of the document's scripts, so a document of any other origin, and every
// frame, is without it from its first moment to its last. BRIDGE_POLICY is
// replaced by the trusted origins.
//
// The two worlds share the document's nodes, not their scripts' objects: the
// messages go as events on a node of their own, which no document holds (so
// the page's own events never meet them, and document.open() keeps them),
// handed to the relay once as the related target of an event.
(function () {
    "use strict";
    const policy = BRIDGE_POLICY;
    if (window !== window.top
            || !(policy.schemes.includes(location.protocol) || policy.origins.includes(location.origin)))
        return;
    const link = document.createElement("span");
    // One event each way, filled afresh for each message: a new one would
    // cost its wrappers in both worlds every time.
    const outgoing = new CustomEvent("send");
    const transport = {
        onmessage: null,
        // The relay takes texts only, as the channel's transport does.
        send(message) {
            outgoing.initCustomEvent("send", false, false, message);
            link.dispatchEvent(outgoing);
        },
    };
    link.addEventListener("receive", event => {
        if (typeof transport.onmessage === "function")
            transport.onmessage({data: event.detail});
    });
    // Whichever of the two scripts runs first, the relay gets the node.
    const offer = () => document.dispatchEvent(
            new FocusEvent("vantrelnut-bridge-link", {relatedTarget: link}));
    document.addEventListener("vantrelnut-bridge-relay", offer, {once: true});
    offer();
    window.qt = {webChannelTransport: transport};
})();

// The page's qt.webChannelTransport, in a document of the web application's
// own shown in the window's main frame: what the page sends goes to the relay
// in the bridge's world of this same document, and what the relay receives
// comes back. Run by the renderer as each document is made, before any of
// the document's scripts, so a document of any other origin, and every
// frame, is without it from its first moment to its last. BRIDGE_POLICY is
// replaced by the trusted origins.
(function () {
    "use strict";
    const policy = BRIDGE_POLICY;
    if (window !== window.top
            || !(policy.schemes.includes(location.protocol) || policy.origins.includes(location.origin)))
        return;
    const transport = {
        onmessage: null,
        send(message) {
            document.dispatchEvent(
                    new CustomEvent("vantrelnut-bridge-send", {detail: String(message)}));
        },
    };
    document.addEventListener("vantrelnut-bridge-receive", event => {
        if (typeof transport.onmessage === "function")
            transport.onmessage({data: event.detail});
    });
    window.qt = {webChannelTransport: transport};
})();

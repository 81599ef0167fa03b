// In the bridge's own world of a document of the web application's own shown
// in the window's main frame: hands what the page's transport (transport.js)
// sends to the channel's transport, which lives in this world alone (the
// page's scripts cannot reach it), and the channel's answers back. Run by the
// renderer as each document is made, so it exists in no other document.
// BRIDGE_POLICY is replaced by the trusted origins.
(function () {
    "use strict";
    const policy = BRIDGE_POLICY;
    if (window !== window.top
            || !(policy.schemes.includes(location.protocol) || policy.origins.includes(location.origin)))
        return;
    const channelTransport = window.qt && window.qt.webChannelTransport;
    if (!channelTransport)
        return;
    const incoming = new CustomEvent("receive");
    const connect = event => {
        document.removeEventListener("vantrelnut-bridge-link", connect);
        const link = event.relatedTarget;
        channelTransport.onmessage = message => {
            incoming.initCustomEvent("receive", false, false, message.data);
            link.dispatchEvent(incoming);
        };
        link.addEventListener("send", sent => {
            if (typeof sent.detail === "string")
                channelTransport.send(sent.detail);
        });
    };
    document.addEventListener("vantrelnut-bridge-link", connect);
    document.dispatchEvent(new CustomEvent("vantrelnut-bridge-relay"));
})();

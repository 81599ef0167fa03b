// In the bridge's own world of a document of the web application's own shown
// in the window's main frame: hands what the page's transport sends to the
// channel's transport, which lives in this world alone (the page's scripts
// cannot reach it), and the channel's answers back. Run by the renderer as
// each document is made, so it exists in no other document. BRIDGE_POLICY is
// replaced by the trusted origins.
(function () {
    "use strict";
    const policy = BRIDGE_POLICY;
    if (window !== window.top
            || !(policy.schemes.includes(location.protocol) || policy.origins.includes(location.origin)))
        return;
    const channelTransport = window.qt && window.qt.webChannelTransport;
    if (!channelTransport)
        return;
    channelTransport.onmessage = message => document.dispatchEvent(
            new CustomEvent("vantrelnut-bridge-receive", {detail: message.data}));
    document.addEventListener("vantrelnut-bridge-send", event => {
        if (typeof event.detail === "string")
            channelTransport.send(event.detail);
    });
})();

#ifndef PAGEBRIDGE_H
#define PAGEBRIDGE_H

class QWebChannel;
class QWebEnginePage;
class TrustedOrigins;

// Publishes a channel to the documents of the trusted origins in a page's
// main frame, and to no other document, decided for each document by the
// page's renderer as it makes the document: the channel's transport lives in
// a script world of its own, which the page's scripts cannot reach, and a
// script the renderer runs in each new document relays between it and a
// qt.webChannelTransport of the page's own world, in the trusted ones only
// (web/bridge/). The channel is set once, before the first load, and never
// switched, so no navigation, committed or not, ever hands it to another
// document.
namespace PageBridge {

void publish(QWebEnginePage *page, QWebChannel *channel, const TrustedOrigins &trusted);

} // namespace PageBridge

#endif // PAGEBRIDGE_H

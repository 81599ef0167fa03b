#ifndef DESKTOPBROWSER_H
#define DESKTOPBROWSER_H

class QUrl;

// Where an address the window does not show goes.
namespace DesktopBrowser {

// To the desktop's browser when it is a web address; any other is dropped,
// as the desktop's opener might run a program for it. The debug log says
// which; what names the request ("Navigation to", "Window for").
void handOver(const QUrl &url, const char *what);

} // namespace DesktopBrowser

#endif // DESKTOPBROWSER_H

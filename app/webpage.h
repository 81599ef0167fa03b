#ifndef WEBPAGE_H
#define WEBPAGE_H

#include "trustedorigins.h"

#include <QWebEnginePage>

// The window's page. Its main frame shows only documents of trusted origins,
// so no other document ever holds the channel transport; other addresses go
// to the desktop's browser or nowhere. It never opens a second window.
class WebPage : public QWebEnginePage
{
    Q_OBJECT

public:
    WebPage(const TrustedOrigins &trustedOrigins, QWebEngineProfile *profile);

signals:
    // The document in the main frame is about to be replaced (a navigation
    // the page lets go on, a reload) or its renderer has ended. Emitted
    // while the leaving document still gets what is sent to it.
    void leaving();

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage *createWindow(WebWindowType type) override;

private:
    // Hands an address the window does not show to the desktop's browser when
    // it is a web address, and drops it otherwise; logs which. what names the
    // request on the log.
    static void handOutside(const QUrl &url, const char *what);

    const TrustedOrigins m_trustedOrigins;
};

#endif // WEBPAGE_H

#ifndef WEBPAGE_H
#define WEBPAGE_H

#include "engine/enginecompat.h"
#include "trust/trustedorigins.h"

#include <QWebEngineCertificateError>
#include <QWebEnginePage>

// The window's page. Its main frame shows only documents of trusted origins,
// so no other document ever holds the channel transport; other addresses go
// to the desktop's browser or nowhere. It never opens a second window. It
// trusts the same authorities for the trusted origins as the report
// downloader does: the system's as well as the engine's own. Its dialogs
// (the page's alert, confirm and prompt, a login the server asks for, the
// question before unsaved work is left) belong to the window.
class WebPage : public EnginePage
{
    Q_OBJECT

public:
    WebPage(const TrustedOrigins &trustedOrigins, QWebEngineProfile *profile, QWidget *window);

signals:
    // The document in the main frame is about to be replaced (a navigation
    // the page lets go on, a reload) or its renderer has ended. Emitted
    // while the leaving document still gets what is sent to it.
    void leaving();
    // The person chose to stay on a page with unsaved work.
    void stayed();
    // The certificate of a trusted origin's host was refused.
    void certificateRefused(const QString &host, const QString &reason);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage *createWindow(WebWindowType type) override;
    void javaScriptAlert(const QUrl &securityOrigin, const QString &message) override;
    bool javaScriptConfirm(const QUrl &securityOrigin, const QString &message) override;
    bool javaScriptPrompt(const QUrl &securityOrigin, const QString &message,
            const QString &defaultValue, QString *result) override;

    // A refusal goes to standard error.
    bool acceptsCertificate(const QWebEngineCertificateError &error) override;

private:
    // Hands an address the window does not show to the desktop's browser when
    // it is a web address, and drops it otherwise; logs which. what names the
    // request on the log.
    static void handOutside(const QUrl &url, const char *what);

    const TrustedOrigins m_trustedOrigins;
    QWidget *const m_window;
};

#endif // WEBPAGE_H

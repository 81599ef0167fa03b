#ifndef WEBPAGE_H
#define WEBPAGE_H

#include "app/engine/enginecompat.h"

#include <QWebEngineCertificateError>
#include <QWebEnginePage>

class PageOrigins;

// The window's page. Its main frame shows only documents of trusted origins
// and of the sign-in origins the web application passes through; other
// addresses go to the desktop's browser or nowhere. Only the trusted
// documents get the bridge (PageBridge). A window it asks for is a
// PopupPage. It trusts the same authorities for the origins it shows as the
// report downloader does: the system's as well as the engine's own. Its
// dialogs (the page's alert, confirm and prompt, a login the server asks
// for, the question before unsaved work is left) belong to the window.
class WebPage : public EnginePage
{
    Q_OBJECT

public:
    WebPage(const PageOrigins &origins, QWebEngineProfile *profile, QWidget *window);

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
    const PageOrigins &m_origins;
    QWidget *const m_window;
};

#endif // WEBPAGE_H

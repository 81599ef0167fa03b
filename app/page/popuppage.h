#ifndef POPUPPAGE_H
#define POPUPPAGE_H

#include "app/engine/enginecompat.h"

class PageOrigins;
class QWidget;

// A window a page asked for (window.open, target="_blank"). Its address
// arrives only with its first navigation, as a script may open it empty and
// set its location afterwards; until then it shows nothing. A first address
// on a sign-in origin makes it a SignInWindow of the application's, in
// which it goes on to trusted and sign-in origins; any other first address
// goes to the desktop's browser, and the popup goes. It never gets the
// bridge: no channel, no bridge scripts.
class PopupPage : public EnginePage
{
    Q_OBJECT

public:
    // For a window that opener asked for; a sign-in window goes over window.
    static PopupPage *open(QWebEnginePage *opener, const PageOrigins &origins, QWidget *window);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage *createWindow(WebWindowType type) override;
    bool acceptsCertificate(const QWebEngineCertificateError &error) override;

private:
    PopupPage(QWebEnginePage *opener, const PageOrigins &origins, QWidget *window);

    bool acceptFirstAddress(const QUrl &url);
    void showSignIn();

    const PageOrigins &m_origins;
    QWidget *const m_window;
    bool m_shown = false;
};

#endif // POPUPPAGE_H

#include "app/page/popuppage.h"

#include "app/page/desktopbrowser.h"
#include "app/page/logindialog.h"
#include "app/page/pagecertificates.h"
#include "app/page/signinwindow.h"
#include "app/trust/pageorigins.h"

#include <QAuthenticator>
#include <QWebEngineCertificateError>
#include <QWebEngineSettings>

PopupPage *PopupPage::open(QWebEnginePage *opener, const PageOrigins &origins, QWidget *window)
{
    return new PopupPage(opener, origins, window);
}

// A child of its opener, so it goes with it, before their profile does.
PopupPage::PopupPage(QWebEnginePage *opener, const PageOrigins &origins, QWidget *window)
    : EnginePage(opener->profile(), opener)
    , m_origins(origins)
    , m_window(window)
{
    settings()->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);
    connect(this, &QWebEnginePage::authenticationRequired, this,
            [this](const QUrl &url, QAuthenticator *authenticator) {
                LoginDialog::ask(m_window, LoginDialog::Asker::Server, url.host(), authenticator);
            });
}

bool PopupPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    Q_UNUSED(type)
    if (!m_shown)
        return isMainFrame && acceptFirstAddress(url);
    if (!isMainFrame || m_origins.isShown(url))
        return true;
    DesktopBrowser::handOver(url, "Navigation to");
    return false;
}

bool PopupPage::acceptFirstAddress(const QUrl &url)
{
    // window.open('') asks for nothing until its opener sets the location.
    if (url.isEmpty() || url == QUrl(QStringLiteral("about:blank")))
        return false;
    if (m_origins.isSignIn(url)) {
        m_shown = true;
        // Once the engine is done asking: the window shows this very page.
        QMetaObject::invokeMethod(this, &PopupPage::showSignIn, Qt::QueuedConnection);
        return true;
    }
    DesktopBrowser::handOver(url, "Window for");
    deleteLater();
    return false;
}

void PopupPage::showSignIn()
{
    new SignInWindow(m_window, this);
}

QWebEnginePage *PopupPage::createWindow(WebWindowType type)
{
    Q_UNUSED(type)
    return open(this, m_origins, m_window);
}

bool PopupPage::acceptsCertificate(const QWebEngineCertificateError &error)
{
    QString refusal;
    return PageCertificates::accepts(error, m_origins.isShown(error.url()), &refusal);
}

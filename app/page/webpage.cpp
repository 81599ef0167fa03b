#include "app/page/webpage.h"

#include "app/page/desktopbrowser.h"
#include "app/page/logindialog.h"
#include "app/page/pagecertificates.h"
#include "app/page/pagedialogs.h"
#include "app/page/popuppage.h"
#include "app/trust/pageorigins.h"

#include <QAuthenticator>
#include <QCoreApplication>
#include <QWebEngineSettings>

WebPage::WebPage(const PageOrigins &origins, QWebEngineProfile *profile, QWidget *window)
    : EnginePage(profile)
    , m_origins(origins)
    , m_window(window)
{
    // A click on an address of a scheme the browser does not know would go
    // straight to the desktop's opener, which may run a program for it.
    settings()->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);
    connect(this, &QWebEnginePage::renderProcessTerminated, this, &WebPage::leaving);
    connect(this, &QWebEnginePage::authenticationRequired, this,
            [this](const QUrl &url, QAuthenticator *authenticator) {
                LoginDialog::ask(m_window, LoginDialog::Asker::Server, url.host(), authenticator);
            });
    connect(this, &QWebEnginePage::proxyAuthenticationRequired, this,
            [this](const QUrl &, QAuthenticator *authenticator, const QString &proxyHost) {
                LoginDialog::ask(m_window, LoginDialog::Asker::Proxy, proxyHost, authenticator);
            });
}

// A refusal for the web application's own origin also shows in the window.
bool WebPage::acceptsCertificate(const QWebEngineCertificateError &error)
{
    QString refusal;
    if (PageCertificates::accepts(error, m_origins.isShown(error.url()), &refusal))
        return true;
    if (m_origins.isTrusted(error.url()))
        emit certificateRefused(error.url().host(), refusal);
    return false;
}

// Frames load whatever they like: the transport lives in the main frame only.
// The way through a sign-in and back is the main frame's own, as in a
// browser's tab, so what the web application kept in the tab is there when
// it comes back.
bool WebPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    Q_UNUSED(type) // a script's navigation is a Redirect in Qt 5, LinkClicked in Qt 6
    if (!isMainFrame)
        return true;
    if (m_origins.isShown(url)) {
        // Not asked for a change of fragment or history state: the document stays.
        emit leaving();
        return true;
    }
    DesktopBrowser::handOver(url, "Navigation to");
    return false;
}

QWebEnginePage *WebPage::createWindow(WebWindowType type)
{
    Q_UNUSED(type)
    return PopupPage::open(this, m_origins, m_window);
}

void WebPage::javaScriptAlert(const QUrl &, const QString &message)
{
    PageDialogs::alert(m_window, message);
}

// The engine asks before a page with unsaved work goes (its beforeunload
// handler asked to stay) with a confirm() of its own text.
bool WebPage::javaScriptConfirm(const QUrl &, const QString &message)
{
    // The engine's own text, in the engine's translation: not one of ours.
    static const char *const engineContext = "QWebEnginePage";
    static const char *const engineText
            = "Are you sure you want to leave this page? Changes that you made may not be saved.";
    const QString leaving = QCoreApplication::translate(engineContext, engineText);
    if (message != leaving)
        return PageDialogs::confirm(m_window, message);
    const bool leave = PageDialogs::askToLeave(m_window);
    if (!leave)
        emit stayed();
    return leave;
}

bool WebPage::javaScriptPrompt(
        const QUrl &, const QString &message, const QString &defaultValue, QString *result)
{
    return PageDialogs::prompt(m_window, message, defaultValue, result);
}

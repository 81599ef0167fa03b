#include "page/webpage.h"

#include "base/standarderror.h"
#include "page/logindialog.h"
#include "page/pagedialogs.h"
#include "page/popuppage.h"
#include "trust/systemtrust.h"

#include <QAuthenticator>
#include <QCoreApplication>
#include <QDebug>
#include <QDesktopServices>
#include <QWebEngineSettings>

WebPage::WebPage(const TrustedOrigins &trustedOrigins, QWebEngineProfile *profile, QWidget *window)
    : EnginePage(profile)
    , m_trustedOrigins(trustedOrigins)
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

// The engine knows only its own authorities. One it does not know may be the
// company's, installed in the system's store; any other fault, or a chain
// the system does not trust either, keeps the engine's error page.
bool WebPage::acceptsCertificate(const QWebEngineCertificateError &error)
{
    const QString host = error.url().host();
    QString refusal = EngineCompat::certificateProblem(error);
    const bool trusted = m_trustedOrigins.isTrusted(error.url());
    if (EngineCompat::onlyAuthorityUnknown(error) && trusted) {
        const QString systemRefusal = SystemTrust::refusal(error.certificateChain(), host);
        if (systemRefusal.isEmpty()) {
            qDebug() << "Certificate of" << host << "accepted: the system trusts its authority";
            return true;
        }
        if (refusal.endsWith(QLatin1Char('.')))
            refusal.chop(1);
        refusal += QStringLiteral(" (the system does not trust it either: %1)").arg(systemRefusal);
    }
    StandardError::writeLine(QStringLiteral("Certificate of %1 refused: %2").arg(host, refusal));
    if (trusted)
        emit certificateRefused(host, refusal);
    return false;
}

void WebPage::handOutside(const QUrl &url, const char *what)
{
    const QString address = url.toDisplayString();
    if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")) {
        qDebug() << what << address << "handed to the desktop's browser";
        QDesktopServices::openUrl(url);
    } else {
        qDebug() << what << address << "dropped";
    }
}

// Frames load whatever they like: the transport lives in the main frame only.
bool WebPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    Q_UNUSED(type) // a script's navigation is a Redirect in Qt 5, LinkClicked in Qt 6
    if (!isMainFrame)
        return true;
    if (m_trustedOrigins.isTrusted(url)) {
        // Not asked for a change of fragment or history state: the document stays.
        emit leaving();
        return true;
    }
    handOutside(url, "Navigation to");
    return false;
}

// The popup's address arrives only with its first navigation, so a hidden page
// takes it and goes as soon as it has handed it on.
QWebEnginePage *WebPage::createWindow(WebWindowType type)
{
    Q_UNUSED(type)
    auto *popup = new PopupPage(profile(), this);
    connect(popup, &PopupPage::addressRequested, this, [popup](const QUrl &url) {
        handOutside(url, "Window for");
        popup->deleteLater();
    });
    return popup;
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

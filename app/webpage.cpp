#include "webpage.h"

#include "popuppage.h"

#include <QDebug>
#include <QDesktopServices>
#include <QWebEngineSettings>

WebPage::WebPage(const TrustedOrigins &trustedOrigins, QWebEngineProfile *profile)
    : QWebEnginePage(profile)
    , m_trustedOrigins(trustedOrigins)
{
    // A click on an address of a scheme the browser does not know would go
    // straight to the desktop's opener, which may run a program for it.
    settings()->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);
    connect(this, &QWebEnginePage::renderProcessTerminated, this, &WebPage::leaving);
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

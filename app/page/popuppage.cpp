#include "page/popuppage.h"

PopupPage::PopupPage(QWebEngineProfile *profile, QObject *parent)
    : QWebEnginePage(profile, parent)
{
}

bool PopupPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    Q_UNUSED(type)
    // window.open('') asks for nothing until its opener sets the location.
    if (isMainFrame && !url.isEmpty() && url != QUrl(QStringLiteral("about:blank")))
        emit addressRequested(url);
    return false;
}

#include "unreachablepage.h"

#include <QUrlQuery>

namespace {

const QString pagePath = QStringLiteral("/unreachable/index.html");
// Where the page's "Try again" form goes; never loaded.
const QString retryPath = QStringLiteral("/unreachable/retry");

} // namespace

UnreachablePage::UnreachablePage(QWebEngineProfile *profile)
    : QWebEnginePage(profile)
{
}

void UnreachablePage::show(const QUrl &address, const QString &reason, int secondsToRetry)
{
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("address"), address.toDisplayString());
    query.addQueryItem(QStringLiteral("reason"), reason);
    query.addQueryItem(QStringLiteral("seconds"), QString::number(secondsToRetry));
    QUrl url(QStringLiteral("qrc:") + pagePath);
    url.setQuery(query);
    setUrl(url);
}

bool UnreachablePage::acceptNavigationRequest(
        const QUrl &url, NavigationType type, bool isMainFrame)
{
    Q_UNUSED(type)
    if (url.scheme() != QLatin1String("qrc") || !isMainFrame)
        return false;
    if (url.path() == retryPath)
        emit retryRequested();
    return url.path() == pagePath;
}

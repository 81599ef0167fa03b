#include "app/recovery/unreachablepage.h"

#include <QCoreApplication>
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

// Every text of the page, in the person's language, reaches its script
// as text.
void UnreachablePage::show(const QUrl &address, const QString &reason, int secondsToRetry)
{
    const QString shown = address.toDisplayString();
    QUrlQuery query;
    //: The language code of this translation, for the page's readers (screen readers)
    query.addQueryItem(QStringLiteral("language"), tr("en"));
    //: The window's title while the web application cannot be reached
    query.addQueryItem(QStringLiteral("title"), tr("Not reachable: %1").arg(shown));
    query.addQueryItem(QStringLiteral("heading"), tr("The web application cannot be reached"));
    query.addQueryItem(QStringLiteral("address"), shown);
    // Standard error has the reason as written.
    query.addQueryItem(QStringLiteral("reason"),
            QCoreApplication::translate("UnreachableWatch", reason.toUtf8().constData()));
    // One and many, as German and French tell them apart.
    query.addQueryItem(QStringLiteral("inOneSecond"), tr("Trying again in 1 second."));
    //: %1 is a number of seconds, more than one
    query.addQueryItem(QStringLiteral("inSeconds"), tr("Trying again in %1 seconds."));
    query.addQueryItem(QStringLiteral("trying"), tr("Trying again…"));
    query.addQueryItem(QStringLiteral("tryAgain"), tr("Try again"));
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

// Qt 6 reports the engine's error with the load.
#include "app/recovery/unreachablewatch.h"

#include <QNetworkInformation>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>

namespace {

// The code the engine's error page shows for the failure.
QString errorCode(const QWebEngineLoadingInfo &info)
{
    if (info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain)
        return QStringLiteral("HTTP ERROR %1").arg(info.errorCode());
    const QString text = info.errorString();
    return text.startsWith(QLatin1String("net::")) ? text.mid(5) : text;
}

} // namespace

void UnreachableWatch::watchLoads()
{
    connect(m_page, &QWebEnginePage::loadingChanged, this,
            [this](const QWebEngineLoadingInfo &info) {
                // A stopped load (another one took its place) tells nothing.
                if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus)
                    emit shown();
                else if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus)
                    finished(info.url(), errorCode(info));
            });
}

void UnreachableWatch::whenNetworkReachable(QObject *context, std::function<void()> reachable)
{
    if (!QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
        return; // no backend answers: the countdown alone tries again
    QObject::connect(QNetworkInformation::instance(), &QNetworkInformation::reachabilityChanged,
            context, [reachable](QNetworkInformation::Reachability reachability) {
                if (reachability > QNetworkInformation::Reachability::Disconnected)
                    reachable();
            });
}

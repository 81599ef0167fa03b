#include "base/qtcompat.h"

#include <QGuiApplication>
#include <QLibraryInfo>
#include <QNetworkInformation>

namespace QtCompat {

// Qt 6 always scales unless its environment variable says otherwise, and by
// the screen's exact factor; Qt 5 scaled only when asked, by whole factors.
// A person's own setting of either variable still wins.
const char *setHighDpiScaling(bool enabled)
{
    if (!qEnvironmentVariableIsSet("QT_SCALE_FACTOR_ROUNDING_POLICY"))
        QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
                Qt::HighDpiScaleFactorRoundingPolicy::Round);
    if (!enabled && !qEnvironmentVariableIsSet("QT_ENABLE_HIGHDPI_SCALING")) {
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
        return "QT_ENABLE_HIGHDPI_SCALING";
    }
    return nullptr;
}

QString qtTranslationsFolder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

void whenNetworkReachable(QObject *context, std::function<void()> reachable)
{
    if (!QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
        return; // no backend answers: the countdown alone tries again
    QObject::connect(QNetworkInformation::instance(), &QNetworkInformation::reachabilityChanged,
            context, [reachable](QNetworkInformation::Reachability reachability) {
                if (reachability > QNetworkInformation::Reachability::Disconnected)
                    reachable();
            });
}

} // namespace QtCompat

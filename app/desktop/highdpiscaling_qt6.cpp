#include "app/desktop/highdpiscaling.h"

#include <QGuiApplication>

namespace HighDpiScaling {

// Qt 6 always scales unless its environment variable says otherwise, and by
// the screen's exact factor; Qt 5 scaled only when asked, by whole factors.
// A person's own setting of either variable still wins.
const char *apply(bool enabled)
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

} // namespace HighDpiScaling

#include "settings/keptwindowstate.h"

#include "settings/settingsstore.h"

namespace {

const QString zoomKey = QStringLiteral("ZoomFactor");
const QString geometryKey = QStringLiteral("WindowGeometry");

SettingsStore store()
{
    SettingsStore state(QStringLiteral("VantrelNut"));
    state->setFallbacksEnabled(false);
    return state;
}

} // namespace

namespace KeptWindowState {

qreal zoomFactor()
{
    return store()->value(zoomKey, 1.0).toReal();
}

QRect geometry()
{
    return store()->value(geometryKey).toRect();
}

void keep(std::optional<qreal> zoomFactor, std::optional<QRect> geometry)
{
    const SettingsStore state = store();
    if (zoomFactor)
        state->setValue(zoomKey, *zoomFactor);
    if (geometry)
        state->setValue(geometryKey, *geometry);
}

} // namespace KeptWindowState

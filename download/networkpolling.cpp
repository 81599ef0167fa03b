#include "networkpolling.h"

#include <QByteArray>

void switchOffNetworkPolling()
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0) // Qt 6 has no bearer layer
    // The documented switch: a negative interval turns the polling off.
    qputenv("QT_BEARER_POLL_TIMEOUT", QByteArray("-1"));
#endif
}

#include "download/networkpolling.h"

#include <QByteArray>

#include <limits>

namespace NetworkPolling {

void switchOff()
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    // The polling interval in milliseconds, set to the longest Qt accepts
    // (about 25 days). -1 switches it off as well, but Qt then writes
    // "Timers cannot have negative intervals" among the application's log.
    qputenv("QT_BEARER_POLL_TIMEOUT", QByteArray::number(std::numeric_limits<int>::max()));
#endif
}

} // namespace NetworkPolling

#include "reloadbackoff.h"

#include <algorithm>

qint64 ReloadBackoff::delayAfterCrashAt(qint64 time)
{
    const bool followsCrash = m_delay > 0 && time - m_lastCrash < quietPeriod;
    m_delay = followsCrash ? std::min(2 * m_delay, longestDelay) : firstDelay;
    m_lastCrash = time;
    return m_delay;
}

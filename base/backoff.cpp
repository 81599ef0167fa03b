#include "base/backoff.h"

#include <algorithm>

Backoff::Backoff(qint64 firstDelay, qint64 longestDelay, qint64 quietPeriod)
    : m_firstDelay(firstDelay)
    , m_longestDelay(longestDelay)
    , m_quietPeriod(quietPeriod)
{
}

qint64 Backoff::delayAfterFailure()
{
    m_delay = m_delay == 0 ? m_firstDelay : std::min(2 * m_delay, m_longestDelay);
    return m_delay;
}

qint64 Backoff::delayAfterFailureAt(qint64 time)
{
    if (m_quietPeriod > 0 && time - m_lastFailure >= m_quietPeriod)
        reset();
    m_lastFailure = time;
    return delayAfterFailure();
}

void Backoff::reset()
{
    m_delay = 0;
}

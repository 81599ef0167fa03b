#ifndef BACKOFF_H
#define BACKOFF_H

#include <QtGlobal>

// How long to wait before trying again after a failure, so that something
// that fails again and again is not retried in a tight loop: each wait is
// twice the one before, from the first delay up to the longest, until a
// reset or, when a quiet period is given, a failure that follows the one
// before only after that period. All times in milliseconds.
class Backoff
{
public:
    // Without a quiet period, failures count however far apart they are.
    Backoff(qint64 firstDelay, qint64 longestDelay, qint64 quietPeriod = 0);

    // The wait after one more failure.
    qint64 delayAfterFailure();
    // The wait after a failure at the given time (on a steady clock).
    qint64 delayAfterFailureAt(qint64 time);
    // The next failure waits the first delay again.
    void reset();

private:
    qint64 m_firstDelay;
    qint64 m_longestDelay;
    qint64 m_quietPeriod;
    qint64 m_lastFailure = 0;
    qint64 m_delay = 0;
};

#endif // BACKOFF_H

#ifndef RELOADBACKOFF_H
#define RELOADBACKOFF_H

#include <QtGlobal>

// How long to wait before loading the page again after its renderer died. A
// page that kills its renderer again and again must not be reloaded in a
// tight loop: while crashes follow each other within a minute, each wait is
// twice the one before, from one second up to half a minute.
class ReloadBackoff
{
public:
    static constexpr qint64 firstDelay = 1000;
    static constexpr qint64 longestDelay = 30000;
    static constexpr qint64 quietPeriod = 60000;

    // The wait in milliseconds after a crash at the given time (milliseconds
    // on a steady clock).
    qint64 delayAfterCrashAt(qint64 time);

private:
    qint64 m_lastCrash = 0;
    qint64 m_delay = 0;
};

#endif // RELOADBACKOFF_H

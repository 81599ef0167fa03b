#ifndef INSTRUMENTQUEUE_H
#define INSTRUMENTQUEUE_H

#include "instrument/buttonwait.h"

#include <QObject>

#include <chrono>
#include <deque>
#include <functional>

// Runs the page's instrument calls one at a time, in the order they were
// made. A call that waits for the instrument's button holds the calls after
// it until its wait has ended, while the thread goes on with its event loop;
// so nothing reaches the SDK between registering the button handler and
// unregistering it but that wait's own calls, and every SDK call is made on
// the thread that owns the queue.
class InstrumentQueue : public QObject
{
    Q_OBJECT

public:
    enum class WaitEnd { Pressed, NotPressed, Abandoned };

    struct Call
    {
        // The call, or its part before the button wait: true when the wait
        // comes next.
        std::function<bool()> start;
        // Its part after the wait.
        std::function<void(WaitEnd)> afterWait;
        // Its turn will not come.
        std::function<void()> drop;
    };

    InstrumentQueue();

    // True when a call would run at once: none runs, waits or is queued.
    bool isIdle() const { return !m_running && !m_buttonWait.isRunning() && m_queued.empty(); }
    // Runs the call now when no other runs or waits, else after those before it.
    void enqueue(Call call);
    // The page that made the calls has gone: a running wait ends now
    // (Abandoned), and the calls still queued are dropped.
    void abandon();

    void setButtonWaitTiming(std::chrono::milliseconds interval, int pollLimit);

private:
    void runQueued();
    void waitFinished(bool pressed);

    ButtonWait m_buttonWait;
    std::deque<Call> m_queued;
    // The part after the wait of the call that waits.
    std::function<void(WaitEnd)> m_afterWait;
    bool m_running = false;
    bool m_abandoning = false;
};

#endif // INSTRUMENTQUEUE_H

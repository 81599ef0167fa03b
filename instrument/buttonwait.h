#ifndef BUTTONWAIT_H
#define BUTTONWAIT_H

#include "i1sdk.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <chrono>

// Waits for a press of the instrument's button without holding the thread
// that waits: start() registers the event handler and returns, the thread
// goes on with its event loop, and finished() comes once the button was
// pressed, the poll limit ran out or the wait was ended. The SDK reports the
// press from a thread of its own; it reaches the waiting thread at once.
//
// The wait is measured in polls of the flag: one before the first sleep and
// one after each sleep of the interval, up to the poll limit. A press ends
// the current sleep, so the "<polls> III <flag>" line counts the sleeps
// begun by then, and a press signalled before the first poll counts none.
//
// The flag lives for the whole process, and each wait hands the SDK a
// context of its own, so a faulty SDK that calls the handler after
// unregistering has returned touches no freed memory and leaves the next
// wait's flag alone. Only one wait runs at a time in the process.
class ButtonWait : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds DefaultInterval {50};
    // 108000 sleeps of 50 ms: an hour and a half.
    static constexpr int DefaultPollLimit = 108000;

    explicit ButtonWait(std::chrono::milliseconds interval = DefaultInterval,
            int pollLimit = DefaultPollLimit, QObject *parent = nullptr);
    // A wait still running is ended without finished().
    ~ButtonWait() override;

    // Registers the event handler and waits. A press signalled before the
    // first poll ends the wait before start() returns.
    void start();
    // Ends a running wait now: unregisters and finishes with the flag as it
    // stands, polled no more.
    void end();
    bool isRunning() const { return m_running; }

    // Tests shorten the wait; the application keeps the defaults.
    void setTiming(std::chrono::milliseconds interval, int pollLimit);

signals:
    // Once per start(), after unregistering and the log line: whether the
    // button was pressed.
    void finished(bool pressed);

private:
    static void handleDeviceEvent(I1_DeviceHandle device, int32_t event, void *context);
    void pressSignalled();
    void pollLimitReached();
    void finish(int pollCount);
    int pollsBegun() const;

    std::chrono::milliseconds m_interval;
    int m_pollLimit;
    bool m_running = false;
    QElapsedTimer m_clock;
    QTimer m_limitTimer;
};

#endif // BUTTONWAIT_H

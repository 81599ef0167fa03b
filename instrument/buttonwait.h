#ifndef BUTTONWAIT_H
#define BUTTONWAIT_H

#include "instrument/i1sdk.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <chrono>

// Waits for a press of the instrument's button without holding the thread:
// start() registers the event handler and returns, and finished() comes on a
// press (signalled from the SDK's thread), at the poll limit, or at end().
// The "<polls> III <flag>" line counts the sleeps of the interval begun by
// then. Each wait registers a context of its own and the flag outlives it,
// so a faulty SDK's late call touches no freed memory and no later wait.
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

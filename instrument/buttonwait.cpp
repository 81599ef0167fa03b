#include "buttonwait.h"

#include <QDebug>

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace {

constexpr int32_t ButtonPressedEvent = 1;

// The state of the one wait that may run, shared with the SDK's thread. Each
// wait gets a new number, which is the context it registers; a handler call
// that carries an older number belongs to a wait that has ended.
class PressSignal
{
public:
    // Never destroyed: a late handler call may come while the process exits.
    static PressSignal &instance()
    {
        static PressSignal *const signal = new PressSignal;
        return *signal;
    }

    void *begin()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_buttonFlag.store(0);
        m_current = ++m_lastWait;
        return reinterpret_cast<void *>(m_current);
    }

    void end()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_current = 0;
    }

    int32_t flag() const { return m_buttonFlag.load(); }

    // Stored under the lock, so a waiter between its test and its sleep
    // cannot miss the wake-up.
    void press(void *context)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_current == 0 || reinterpret_cast<void *>(m_current) != context)
            return;
        m_buttonFlag.store(1);
        m_wake.notify_all();
    }

    void sleepUnlessPressed(std::chrono::milliseconds interval)
    {
        const auto end = std::chrono::steady_clock::now() + interval;
        std::unique_lock<std::mutex> lock(m_mutex);
        while (m_buttonFlag.load() < 1 && std::chrono::steady_clock::now() < end)
            m_wake.wait_until(lock, end);
    }

private:
    PressSignal() = default;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    // Stored by the SDK's thread, read by the waiting one.
    std::atomic<int32_t> m_buttonFlag {0};
    // Numbers of the running wait (0: none) and of the last one begun.
    std::uintptr_t m_current = 0;
    std::uintptr_t m_lastWait = 0;
};

} // namespace

ButtonWait::ButtonWait(std::chrono::milliseconds interval, int pollLimit)
    : m_interval(interval)
    , m_pollLimit(pollLimit)
{
}

bool ButtonWait::waitForPress()
{
    PressSignal &signal = PressSignal::instance();
    I1_RegisterDeviceEventHandler(&ButtonWait::handleDeviceEvent, signal.begin());

    // The flag is tested before the first sleep and after every sleep.
    int pollCount = 0;
    while (signal.flag() < 1 && pollCount < m_pollLimit) {
        ++pollCount;
        signal.sleepUnlessPressed(m_interval);
    }

    I1_RegisterDeviceEventHandler(nullptr, nullptr);
    // From here on a handler call, even a faulty late one, leaves the flag as it is.
    signal.end();
    const int32_t buttonFlag = signal.flag();
    qDebug() << pollCount << "III" << buttonFlag;
    return buttonFlag >= 1;
}

// Called from the SDK's own thread.
void ButtonWait::handleDeviceEvent(I1_DeviceHandle, int32_t event, void *context)
{
    if (event != ButtonPressedEvent)
        return;
    qDebug() << "pressed";
    PressSignal::instance().press(context);
}

#include "instrument/buttonwait.h"

#include <QDebug>

#include <algorithm>
#include <atomic>
#include <climits>
#include <mutex>

namespace {

constexpr int32_t ButtonPressedEvent = 1;

// The state of the one wait that may run, shared with the SDK's thread. Each
// wait gets a new number, which is the context it registers; a handler call
// that carries another number belongs to a wait that has ended.
class PressSignal
{
public:
    // Never destroyed: a late handler call may come while the process exits.
    static PressSignal &instance()
    {
        static PressSignal *const signal = new PressSignal;
        return *signal;
    }

    void *begin(ButtonWait *waiter)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_buttonFlag.store(0);
        m_waiter = waiter;
        m_current = ++m_lastWait;
        return reinterpret_cast<void *>(m_current);
    }

    void end()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_current = 0;
        m_waiter = nullptr;
    }

    int32_t flag() const { return m_buttonFlag.load(); }

    // Called from the SDK's own thread. The wake-up is posted under the
    // lock, so the waiter cannot have gone meanwhile; an event posted to a
    // waiter that is destroyed before it arrives is discarded with it.
    template<typename Wake>
    void press(void *context, Wake wake)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_current == 0 || reinterpret_cast<void *>(m_current) != context)
            return;
        m_buttonFlag.store(1);
        QMetaObject::invokeMethod(m_waiter, [waiter = m_waiter, wake] { wake(waiter); },
                Qt::QueuedConnection);
    }

private:
    PressSignal() = default;

    std::mutex m_mutex;
    // Stored by the SDK's thread, read by the waiting one.
    std::atomic<int32_t> m_buttonFlag {0};
    ButtonWait *m_waiter = nullptr;
    // Numbers of the running wait (0: none) and of the last one begun.
    std::uintptr_t m_current = 0;
    std::uintptr_t m_lastWait = 0;
};

} // namespace

ButtonWait::ButtonWait(std::chrono::milliseconds interval, int pollLimit, QObject *parent)
    : QObject(parent)
    , m_interval(interval)
    , m_pollLimit(pollLimit)
{
    m_limitTimer.setSingleShot(true);
    m_limitTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_limitTimer, &QTimer::timeout, this, &ButtonWait::pollLimitReached);
}

ButtonWait::~ButtonWait()
{
    if (!m_running)
        return;
    I1_RegisterDeviceEventHandler(nullptr, nullptr);
    PressSignal::instance().end();
}

void ButtonWait::setTiming(std::chrono::milliseconds interval, int pollLimit)
{
    m_interval = interval;
    m_pollLimit = pollLimit;
}

void ButtonWait::start()
{
    PressSignal &signal = PressSignal::instance();
    m_running = true;
    I1_RegisterDeviceEventHandler(&ButtonWait::handleDeviceEvent, signal.begin(this));
    if (signal.flag() >= 1 || m_pollLimit <= 0) {
        finish(0);
        return;
    }
    // The first sleep begins now; the limit is the end of the last one.
    m_clock.start();
    const qint64 limit = qint64(m_interval.count()) * m_pollLimit;
    m_limitTimer.start(int(std::min<qint64>(limit, INT_MAX)));
}

void ButtonWait::end()
{
    if (m_running)
        finish(pollsBegun());
}

void ButtonWait::pressSignalled()
{
    // A wake-up may arrive after its wait has ended and the next one began:
    // that one's flag then tells.
    if (m_running && PressSignal::instance().flag() >= 1)
        finish(pollsBegun());
}

void ButtonWait::pollLimitReached()
{
    finish(m_pollLimit);
}

int ButtonWait::pollsBegun() const
{
    if (m_interval.count() <= 0)
        return m_pollLimit;
    return int(std::min<qint64>(m_clock.elapsed() / m_interval.count() + 1, m_pollLimit));
}

void ButtonWait::finish(int pollCount)
{
    m_limitTimer.stop();
    I1_RegisterDeviceEventHandler(nullptr, nullptr);
    PressSignal &signal = PressSignal::instance();
    // From here on a handler call, even a faulty late one, leaves the flag as it is.
    signal.end();
    m_running = false;
    const int32_t buttonFlag = signal.flag();
    qDebug() << pollCount << "III" << buttonFlag;
    emit finished(buttonFlag >= 1);
}

// Called from the SDK's own thread.
void ButtonWait::handleDeviceEvent(I1_DeviceHandle, int32_t event, void *context)
{
    if (event != ButtonPressedEvent)
        return;
    qDebug() << "pressed";
    PressSignal::instance().press(context, [](ButtonWait *waiter) { waiter->pressSignalled(); });
}

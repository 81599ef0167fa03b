#include "buttonwait.h"

#include <QDebug>

namespace {
constexpr int32_t ButtonPressedEvent = 1;
}

ButtonWait::ButtonWait(std::chrono::milliseconds interval, int pollLimit)
    : m_interval(interval)
    , m_pollLimit(pollLimit)
{
}

bool ButtonWait::waitForPress()
{
    m_buttonFlag.store(0);
    I1_RegisterDeviceEventHandler(&ButtonWait::handleDeviceEvent, this);

    // The flag is tested before the first sleep and after every sleep.
    int pollCount = 0;
    while (m_buttonFlag.load() < 1 && pollCount < m_pollLimit) {
        ++pollCount;
        sleepUnlessPressed();
    }

    // Once this returns the SDK calls the handler no more, so the flag is final.
    I1_RegisterDeviceEventHandler(nullptr, nullptr);
    const int32_t buttonFlag = m_buttonFlag.load();
    qDebug() << pollCount << "III" << buttonFlag;
    return buttonFlag >= 1;
}

void ButtonWait::sleepUnlessPressed()
{
    const auto end = std::chrono::steady_clock::now() + m_interval;
    std::unique_lock<std::mutex> lock(m_wakeMutex);
    while (m_buttonFlag.load() < 1 && std::chrono::steady_clock::now() < end)
        m_wake.wait_until(lock, end);
}

// Called from the SDK's own thread.
void ButtonWait::handleDeviceEvent(I1_DeviceHandle, int32_t event, void *context)
{
    if (event != ButtonPressedEvent)
        return;
    qDebug() << "pressed";
    static_cast<ButtonWait *>(context)->signalPress();
}

void ButtonWait::signalPress()
{
    // Stored under the lock, so a waiter between its test and its sleep
    // cannot miss the wake-up.
    std::lock_guard<std::mutex> lock(m_wakeMutex);
    m_buttonFlag.store(1);
    m_wake.notify_all();
}

#ifndef BUTTONWAIT_H
#define BUTTONWAIT_H

#include "i1sdk.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

// Waits for a press of the instrument's button. The SDK reports the press
// from a thread of its own; the waiting thread polls the button flag after
// every sleep, and a press ends the current sleep at once.
class ButtonWait
{
public:
    static constexpr std::chrono::milliseconds DefaultInterval {50};
    // 108000 sleeps of 50 ms: an hour and a half.
    static constexpr int DefaultPollLimit = 108000;

    explicit ButtonWait(
            std::chrono::milliseconds interval = DefaultInterval, int pollLimit = DefaultPollLimit);

    ButtonWait(const ButtonWait &) = delete;
    ButtonWait &operator=(const ButtonWait &) = delete;

    // Registers the event handler, polls until a press or the poll limit,
    // unregisters and logs "<polls> III <flag>". True when pressed.
    bool waitForPress();

private:
    static void handleDeviceEvent(I1_DeviceHandle device, int32_t event, void *context);
    void signalPress();
    void sleepUnlessPressed();

    const std::chrono::milliseconds m_interval;
    const int m_pollLimit;

    // Stored by the SDK's thread, read by the waiting one.
    std::atomic<int32_t> m_buttonFlag {0};
    std::mutex m_wakeMutex;
    std::condition_variable m_wake;
};

#endif // BUTTONWAIT_H

#ifndef BUTTONWAIT_H
#define BUTTONWAIT_H

#include "i1sdk.h"

#include <chrono>
#include <cstdint>

// Waits for a press of the instrument's button. The SDK reports the press
// from a thread of its own; the waiting thread polls the button flag after
// every sleep, and a press ends the current sleep at once.
//
// The flag and its wake-up live for the whole process, and each wait hands
// the SDK a context of its own, so a faulty SDK that calls the handler after
// unregistering has returned touches no freed memory and leaves the next
// wait's flag alone. Only one wait runs at a time.
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

    const std::chrono::milliseconds m_interval;
    const int m_pollLimit;
};

#endif // BUTTONWAIT_H

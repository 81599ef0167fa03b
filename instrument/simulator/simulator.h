#ifndef SIMULATOR_SIMULATOR_H
#define SIMULATOR_SIMULATOR_H

#include "instrument/i1sdk.h"
#include "instrument/simulator/calltrace.h"
#include "instrument/simulator/configuration.h"
#include "instrument/simulator/controlcommands.h"
#include "instrument/simulator/eventthread.h"

#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace i1sim {

// The state behind the simulated SDK: the attached instruments, their options
// and measurements, the registered event handler and the call trace.
// Every SDK call takes the one state lock, so calls from any thread are safe.
// i1simctl's requests arrive on the control socket's thread.
class Simulator
{
public:
    static Simulator &instance();

    I1_ResultType getDevices(I1_DeviceHandle **devices, uint32_t *count);
    I1_ResultType openDevice(I1_DeviceHandle device);
    I1_ResultType closeDevice(I1_DeviceHandle device);
    I1_ResultType setGlobalOption(const char *key, const char *value);
    const char *getOption(I1_DeviceHandle device, const char *key);
    I1_ResultType setOption(I1_DeviceHandle device, const char *key, const char *value);
    I1_ResultType calibrate(I1_DeviceHandle device);
    I1_ResultType triggerMeasurement(I1_DeviceHandle device);
    I1_ResultType getDensities(
            I1_DeviceHandle device, float densities[4], int32_t *densityIndex, int32_t sampleIndex);
    I1_ResultType registerDeviceEventHandler(I1_DeviceEventHandler handler, void *context);

    void configure(const char *variable, const char *value);
    void reset();
    void sendDeviceEvent(int32_t code, int32_t delayMs);

    // For i1simctl's commands, from the control socket's thread.

    // Delivers the event at once from the event thread; false when no
    // handler was registered to take it.
    bool deliverNow(int32_t code);
    // Takes one variable spelt as in the environment; what the variable
    // expects when the value does not parse, else the empty text.
    std::string setVariable(const std::string &variable, const std::string &value);
    // Traces to this file from now on; when it cannot be opened, the trace
    // stays as it was and the reason is returned.
    std::string setTraceFile(const std::string &fileName);
    // The configuration read afresh from the environment.
    void restoreConfiguration();
    // What i1simctl status shows of the state, taken at one moment.
    struct Status
    {
        Configuration configuration;
        bool handlerRegistered = false;
        std::deque<std::string> lastCalls;
    };
    Status status();

private:
    struct Device
    {
        int number = 0;
        bool open = false;
        std::map<std::string, std::string> setOptions;
        // Keeps each answered text alive until the same key is asked again.
        std::map<std::string, std::string> answers;
        std::optional<std::array<float, 4>> lastMeasurement;
    };

    Simulator();
    ~Simulator();

    Device *attached(I1_DeviceHandle handle);
    Device *opened(I1_DeviceHandle handle);
    std::optional<std::string> optionValue(const Device &device, const std::string &key) const;
    std::string handleName(I1_DeviceHandle handle) const;
    template<typename Result, typename Call>
    Result onOpenedDevice(const std::string &call, I1_DeviceHandle handle,
            const std::string &arguments, Result notOpen, Call run);
    void deliverEvent(int32_t code, I1_DeviceEventHandler handler, void *context);
    std::string faultyText(std::string text) const;
    void adopt(std::unique_lock<std::mutex> &lock, Configuration configuration);
    void schedulePresses(const std::vector<int> &delaysMs);

    std::mutex m_mutex;
    Configuration m_configuration;
    // Devices are never freed, so a stale handle is recognised, not followed.
    std::vector<std::unique_ptr<Device>> m_devices;
    std::vector<I1_DeviceHandle> m_deviceList;
    I1_DeviceEventHandler m_handler = nullptr;
    void *m_handlerContext = nullptr;
    // The unregistered handler that the late-event fault still calls.
    I1_DeviceEventHandler m_lateHandler = nullptr;
    void *m_lateContext = nullptr;
    CallTrace m_trace;
    // Held while the handler runs, so unregistering can wait for a call in flight.
    std::mutex m_deliveryMutex;
    EventThread m_events;
    // Last, as it serves requests from the moment it is made.
    ControlCommands m_control;
};

} // namespace i1sim

#endif

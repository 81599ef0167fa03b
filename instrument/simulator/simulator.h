#ifndef SIMULATOR_SIMULATOR_H
#define SIMULATOR_SIMULATOR_H

#include "configuration.h"
#include "controlsocket.h"
#include "eventthread.h"
#include "i1sdk.h"

#include <cstdio>
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
    // One request of i1simctl: its arguments, without the command's name.
    control::Reply control(const std::vector<std::string> &arguments);

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
    void trace(const std::string &line);
    bool openTrace();
    void deliverEvent(int32_t code, I1_DeviceEventHandler handler, void *context);
    std::string faultyText(std::string text) const;
    void adopt(std::unique_lock<std::mutex> &lock, Configuration configuration);
    void schedulePresses(const std::vector<int> &delaysMs);

    control::Reply controlEvent(const std::string &code);
    control::Reply controlSet(const std::string &variable, const std::string &value);
    control::Reply setTrace(const std::string &fileName);
    control::Reply controlReset();
    control::Reply controlStatus();
    control::Reply sendNow(int32_t code);

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
    FILE *m_trace = nullptr;
    // The last calls, for i1simctl status, whether or not they are traced.
    std::deque<std::string> m_lastCalls;
    // Held while the handler runs, so unregistering can wait for a call in flight.
    std::mutex m_deliveryMutex;
    EventThread m_events;
    ControlSocket m_control;
};

} // namespace i1sim

#endif

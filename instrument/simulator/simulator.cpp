#include "instrument/simulator/simulator.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace i1sim {

namespace {

enum Result : I1_ResultType {
    Success = 0,
    InvalidArgument = 1,
    DeviceNotOpen = 2,
    NoMeasurement = 3,
    CalibrationFailed = 4,
};

const char *const CalibrationFailureText = "White reference not recognised";

// An overlong "/", an encoded surrogate, a byte UTF-8 never uses, a stray
// continuation byte and a sequence cut short: none of them decodes.
const char InvalidUtf8Bytes[] = "\xC0\xAF\xED\xA0\x80\xFF\x80\xE2\x82";

std::string quoted(const char *text)
{
    return text ? '"' + std::string(text) + '"' : std::string("null");
}

} // namespace

Simulator &Simulator::instance()
{
    static Simulator simulator;
    return simulator;
}

Simulator::Simulator()
    : m_configuration(Configuration::fromEnvironment())
    , m_trace(m_configuration.traceFile)
    , m_events([this](int32_t code, I1_DeviceEventHandler handler, void *context) {
        deliverEvent(code, handler, context);
    })
    , m_control(*this)
{
}

Simulator::~Simulator() = default;

Simulator::Device *Simulator::attached(I1_DeviceHandle handle)
{
    const auto found = std::find_if(m_devices.begin(), m_devices.end(),
            [handle](const auto &device) { return device.get() == handle; });
    if (found == m_devices.end() || (*found)->number > m_configuration.deviceCount)
        return nullptr;
    return found->get();
}

Simulator::Device *Simulator::opened(I1_DeviceHandle handle)
{
    Device *device = attached(handle);
    return device && device->open ? device : nullptr;
}

std::string Simulator::handleName(I1_DeviceHandle handle) const
{
    if (!handle)
        return "null";
    for (const auto &device : m_devices) {
        if (device.get() == handle)
            return "dev" + std::to_string(device->number);
    }
    return "invalid";
}

// An SDK call that needs an opened device: traced under the state lock as
// the call, the handle and the arguments, and answered notOpen without a run
// when the handle is not that of an opened device.
template<typename Result, typename Call>
Result Simulator::onOpenedDevice(const std::string &call, I1_DeviceHandle handle,
        const std::string &arguments, Result notOpen, Call run)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_trace.add(call + ' ' + handleName(handle) + arguments);
    Device *device = opened(handle);
    return device ? run(*device) : notOpen;
}

std::optional<std::string> Simulator::optionValue(
        const Device &device, const std::string &key) const
{
    if (const auto set = device.setOptions.find(key); set != device.setOptions.end())
        return set->second;
    if (const auto configured = m_configuration.options.find(key);
            configured != m_configuration.options.end())
        return configured->second;
    if (key == "SerialNumber") {
        return device.number == 1
                ? m_configuration.serialNumber
                : m_configuration.serialNumber + '-' + std::to_string(device.number);
    }
    static const std::map<std::string, std::string> defaults = {
            {"MeasurementMode", "ReflectanceSpot"},
            {"LastError", ""},
            {"AvailableMeasurementModes",
                    "EmissionSpot;ReflectanceSpot;ReflectanceScan;AmbientLightSpot"},
    };
    if (const auto known = defaults.find(key); known != defaults.end())
        return known->second;
    return std::nullopt;
}

I1_ResultType Simulator::getDevices(I1_DeviceHandle **devices, uint32_t *count)
{
    int enumerationMs = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        enumerationMs = m_configuration.enumerationMs;
    }
    // A slow bus scan; events still arrive meanwhile.
    std::this_thread::sleep_for(std::chrono::milliseconds(enumerationMs));
    std::lock_guard<std::mutex> lock(m_mutex);
    m_trace.add("I1_GetDevices");
    if (!devices || !count)
        return InvalidArgument;
    while (m_devices.size() < std::size_t(m_configuration.deviceCount)) {
        m_devices.push_back(std::make_unique<Device>());
        m_devices.back()->number = int(m_devices.size());
    }
    m_deviceList.clear();
    for (int i = 0; i < m_configuration.deviceCount; ++i)
        m_deviceList.push_back(m_devices[i].get());
    *count = uint32_t(m_deviceList.size());
    *devices = m_deviceList.empty() || m_configuration.nullDeviceList ? nullptr
                                                                      : m_deviceList.data();
    return Success;
}

I1_ResultType Simulator::openDevice(I1_DeviceHandle handle)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_trace.add("I1_OpenDevice " + handleName(handle));
    Device *device = attached(handle);
    if (!device)
        return InvalidArgument;
    device->open = true;
    return Success;
}

I1_ResultType Simulator::closeDevice(I1_DeviceHandle handle)
{
    return onOpenedDevice<I1_ResultType>(
            "I1_CloseDevice", handle, "", DeviceNotOpen, [](Device &device) {
                device.open = false;
                return Success;
            });
}

I1_ResultType Simulator::setGlobalOption(const char *key, const char *value)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_trace.add("I1_SetGlobalOption " + quoted(key) + ' ' + quoted(value));
    if (!key || !value)
        return InvalidArgument;
    if (std::string(key) == "Reset" && std::string(value) == "All") {
        for (auto &device : m_devices) {
            device->open = false;
            device->setOptions.clear();
            device->lastMeasurement.reset();
        }
    }
    return Success;
}

const char *Simulator::getOption(I1_DeviceHandle handle, const char *key)
{
    return onOpenedDevice<const char *>("I1_GetOptionD", handle, ' ' + quoted(key), nullptr,
            [this, key](Device &device) -> const char * {
                const auto value = key ? optionValue(device, key) : std::nullopt;
                if (!value)
                    return nullptr;
                std::string &answer = device.answers[key];
                answer = faultyText(*value);
                return answer.c_str();
            });
}

I1_ResultType Simulator::setOption(I1_DeviceHandle handle, const char *key, const char *value)
{
    return onOpenedDevice<I1_ResultType>("I1_SetOption", handle,
            ' ' + quoted(key) + ' ' + quoted(value), DeviceNotOpen,
            [key, value](Device &device) -> I1_ResultType {
                if (!key || !value)
                    return InvalidArgument;
                device.setOptions[key] = value;
                return Success;
            });
}

I1_ResultType Simulator::calibrate(I1_DeviceHandle handle)
{
    return onOpenedDevice<I1_ResultType>(
            "I1_Calibrate", handle, "", DeviceNotOpen, [this](Device &device) -> I1_ResultType {
                if (!m_configuration.calibrationFails) {
                    device.setOptions["LastError"] = "";
                    return Success;
                }
                const auto configured = m_configuration.options.find("LastError");
                const bool hasOwnText = configured != m_configuration.options.end()
                        && configured->second && !configured->second->empty();
                device.setOptions["LastError"]
                        = hasOwnText ? *configured->second : CalibrationFailureText;
                return CalibrationFailed;
            });
}

I1_ResultType Simulator::triggerMeasurement(I1_DeviceHandle handle)
{
    return onOpenedDevice<I1_ResultType>("I1_TriggerMeasurement", handle, "", DeviceNotOpen,
            [this](Device &device) -> I1_ResultType {
                device.lastMeasurement = m_configuration.densities;
                if (m_configuration.unplug == Configuration::Unplug::DuringScan)
                    m_configuration.deviceCount = 0; // before the densities are read
                return Success;
            });
}

I1_ResultType Simulator::getDensities(
        I1_DeviceHandle handle, float densities[4], int32_t *densityIndex, int32_t sampleIndex)
{
    return onOpenedDevice<I1_ResultType>("I1_GetDensities", handle,
            ' ' + std::to_string(sampleIndex), DeviceNotOpen,
            [densities, densityIndex](Device &device) -> I1_ResultType {
                if (!device.lastMeasurement)
                    return NoMeasurement;
                if (!densities)
                    return InvalidArgument;
                std::copy(
                        device.lastMeasurement->begin(), device.lastMeasurement->end(), densities);
                if (densityIndex)
                    *densityIndex = 0;
                return Success;
            });
}

I1_ResultType Simulator::registerDeviceEventHandler(I1_DeviceEventHandler handler, void *context)
{
    std::vector<int> pressDelaysMs;
    I1_DeviceEventHandler lateHandler = nullptr;
    void *lateContext = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_trace.add(std::string("I1_RegisterDeviceEventHandler ") + (handler ? "handler" : "null"));
        if (!handler && m_handler && m_configuration.lateEvent) {
            m_lateHandler = m_handler;
            m_lateContext = m_handlerContext;
        } else if (handler) {
            std::swap(lateHandler, m_lateHandler);
            std::swap(lateContext, m_lateContext);
        }
        m_handler = handler;
        m_handlerContext = handler ? context : nullptr;
        pressDelaysMs = m_configuration.pressDelaysMs;
        if (handler && m_configuration.unplug == Configuration::Unplug::DuringWait)
            m_configuration.deviceCount = 0; // the presses still come, from a gone instrument
    }
    m_events.clearAutomatic();
    if (!handler) {
        // A call of the old handler may be running on the event thread; the
        // caller may free the context as soon as this returns.
        std::lock_guard<std::mutex> delivering(m_deliveryMutex);
        return Success;
    }
    if (lateHandler) // the fault: a press for a wait that has ended, while the next one runs
        m_events.deliverAndWait(1, true, lateHandler, lateContext);
    schedulePresses(pressDelaysMs);
    return Success;
}

void Simulator::schedulePresses(const std::vector<int> &delaysMs)
{
    for (const int delayMs : delaysMs) {
        if (delayMs == 0)
            m_events.deliverAndWait(1, true); // the button is already down when the handler arrives
        else
            m_events.schedule(1, std::chrono::milliseconds(delayMs), true);
    }
}

void Simulator::deliverEvent(int32_t code, I1_DeviceEventHandler handler, void *context)
{
    std::lock_guard<std::mutex> delivering(m_deliveryMutex);
    I1_DeviceHandle device = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!handler) {
            handler = m_handler;
            context = m_handlerContext;
        }
        device = m_deviceList.empty() ? nullptr : m_deviceList.front();
    }
    if (handler)
        handler(device, code, context);
}

// With a handler registered, a changed press list replaces the presses still
// to come, counted from now: "never" while a wait runs means no press comes.
void Simulator::adopt(std::unique_lock<std::mutex> &lock, Configuration configuration)
{
    const bool pressesChanged = configuration.pressDelaysMs != m_configuration.pressDelaysMs;
    const bool traceChanged = configuration.traceFile != m_configuration.traceFile;
    m_configuration = std::move(configuration);
    if (traceChanged)
        m_trace.open(m_configuration.traceFile);
    if (!pressesChanged || !m_handler)
        return;
    const std::vector<int> delaysMs = m_configuration.pressDelaysMs;
    lock.unlock();
    m_events.clearAutomatic();
    schedulePresses(delaysMs);
}

std::string Simulator::faultyText(std::string text) const
{
    if (m_configuration.hugeText && text.size() < Configuration::HugeTextSize)
        text.append(Configuration::HugeTextSize - text.size(), '.');
    if (m_configuration.invalidUtf8)
        text += InvalidUtf8Bytes;
    return text;
}

void Simulator::configure(const char *variable, const char *value)
{
    if (!variable)
        return;
    std::unique_lock<std::mutex> lock(m_mutex);
    Configuration changed = m_configuration;
    changed.set(variable, value ? value : std::getenv(variable));
    adopt(lock, std::move(changed));
}

void Simulator::reset()
{
    m_events.clearAll();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_configuration = Configuration::fromEnvironment();
    m_trace.open(m_configuration.traceFile);
    for (auto &device : m_devices) {
        device->open = false;
        device->setOptions.clear();
        device->lastMeasurement.reset();
    }
    m_handler = nullptr;
    m_handlerContext = nullptr;
    m_trace.forgetLastCalls();
    m_lateHandler = nullptr;
    m_lateContext = nullptr;
}

void Simulator::sendDeviceEvent(int32_t code, int32_t delayMs)
{
    m_events.schedule(code, std::chrono::milliseconds(std::max(delayMs, 0)), false);
}

bool Simulator::deliverNow(int32_t code)
{
    bool handled = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        handled = m_handler != nullptr;
    }
    m_events.deliverAndWait(code, false);
    return handled;
}

std::string Simulator::setVariable(const std::string &variable, const std::string &value)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    Configuration changed = m_configuration;
    const std::string expected = changed.parse(variable, value);
    if (expected.empty())
        adopt(lock, std::move(changed));
    return expected;
}

std::string Simulator::setTraceFile(const std::string &fileName)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const std::string previous = m_configuration.traceFile;
    m_configuration.traceFile = fileName;
    if (m_trace.open(fileName))
        return std::string();
    const std::string reason = std::strerror(errno);
    m_configuration.traceFile = previous;
    m_trace.open(previous);
    return reason;
}

void Simulator::restoreConfiguration()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    adopt(lock, Configuration::fromEnvironment());
}

Simulator::Status Simulator::status()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return {m_configuration, m_handler != nullptr, m_trace.lastCalls()};
}

} // namespace i1sim

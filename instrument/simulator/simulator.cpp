#include "simulator.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <sstream>
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
constexpr std::size_t LastCallsKept = 20;

// An overlong "/", an encoded surrogate, a byte UTF-8 never uses, a stray
// continuation byte and a sequence cut short: none of them decodes.
const char InvalidUtf8Bytes[] = "\xC0\xAF\xED\xA0\x80\xFF\x80\xE2\x82";

std::string quoted(const char *text)
{
    return text ? '"' + std::string(text) + '"' : std::string("null");
}

// A value as a one-line error message shows it: quoted, control characters
// escaped, cut after 80 bytes.
std::string shown(const std::string &value)
{
    constexpr std::size_t Shown = 80;
    std::string text = "\"";
    for (const unsigned char c : value.substr(0, Shown)) {
        char escaped[5];
        std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
        text += c < 0x20 || c == 0x7f ? std::string(escaped) : std::string(1, char(c));
    }
    return text + (value.size() > Shown ? "...\"" : "\"");
}

std::string variableList()
{
    std::string list;
    for (const std::string &name : Configuration::variableNames)
        list += (list.empty() ? "" : ", ") + name;
    return list;
}

} // namespace

Simulator &Simulator::instance()
{
    static Simulator simulator;
    return simulator;
}

Simulator::Simulator()
    : m_configuration(Configuration::fromEnvironment())
    , m_events([this](int32_t code, I1_DeviceEventHandler handler, void *context) {
        deliverEvent(code, handler, context);
    })
{
    openTrace();
    m_control.start(
            [this](const std::vector<std::string> &arguments) { return control(arguments); });
}

Simulator::~Simulator()
{
    m_control.stop();
    if (m_trace)
        std::fclose(m_trace);
}

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

// The configured file, or none: false, with errno set, when it cannot be opened.
bool Simulator::openTrace()
{
    if (m_trace)
        std::fclose(m_trace);
    const std::string &fileName = m_configuration.traceFile;
    m_trace = fileName.empty() ? nullptr : std::fopen(fileName.c_str(), "a");
    return fileName.empty() || m_trace;
}

void Simulator::trace(const std::string &line)
{
    m_lastCalls.push_back(line);
    if (m_lastCalls.size() > LastCallsKept)
        m_lastCalls.pop_front();
    if (!m_trace)
        return;
    std::fputs(line.c_str(), m_trace);
    std::fputc('\n', m_trace);
    std::fflush(m_trace);
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
    trace("I1_GetDevices");
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
    trace("I1_OpenDevice " + handleName(handle));
    Device *device = attached(handle);
    if (!device)
        return InvalidArgument;
    device->open = true;
    return Success;
}

I1_ResultType Simulator::closeDevice(I1_DeviceHandle handle)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    trace("I1_CloseDevice " + handleName(handle));
    Device *device = opened(handle);
    if (!device)
        return DeviceNotOpen;
    device->open = false;
    return Success;
}

I1_ResultType Simulator::setGlobalOption(const char *key, const char *value)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    trace("I1_SetGlobalOption " + quoted(key) + ' ' + quoted(value));
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
    std::lock_guard<std::mutex> lock(m_mutex);
    trace("I1_GetOptionD " + handleName(handle) + ' ' + quoted(key));
    Device *device = opened(handle);
    if (!device || !key)
        return nullptr;
    const auto value = optionValue(*device, key);
    if (!value)
        return nullptr;
    std::string &answer = device->answers[key];
    answer = faultyText(*value);
    return answer.c_str();
}

I1_ResultType Simulator::setOption(I1_DeviceHandle handle, const char *key, const char *value)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    trace("I1_SetOption " + handleName(handle) + ' ' + quoted(key) + ' ' + quoted(value));
    Device *device = opened(handle);
    if (!device)
        return DeviceNotOpen;
    if (!key || !value)
        return InvalidArgument;
    device->setOptions[key] = value;
    return Success;
}

I1_ResultType Simulator::calibrate(I1_DeviceHandle handle)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    trace("I1_Calibrate " + handleName(handle));
    Device *device = opened(handle);
    if (!device)
        return DeviceNotOpen;
    if (!m_configuration.calibrationFails) {
        device->setOptions["LastError"] = "";
        return Success;
    }
    const auto configured = m_configuration.options.find("LastError");
    const bool hasOwnText = configured != m_configuration.options.end() && configured->second
            && !configured->second->empty();
    device->setOptions["LastError"] = hasOwnText ? *configured->second : CalibrationFailureText;
    return CalibrationFailed;
}

I1_ResultType Simulator::triggerMeasurement(I1_DeviceHandle handle)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    trace("I1_TriggerMeasurement " + handleName(handle));
    Device *device = opened(handle);
    if (!device)
        return DeviceNotOpen;
    device->lastMeasurement = m_configuration.densities;
    if (m_configuration.unplug == Configuration::Unplug::DuringScan)
        m_configuration.deviceCount = 0; // before the densities are read
    return Success;
}

I1_ResultType Simulator::getDensities(
        I1_DeviceHandle handle, float densities[4], int32_t *densityIndex, int32_t sampleIndex)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    trace("I1_GetDensities " + handleName(handle) + ' ' + std::to_string(sampleIndex));
    Device *device = opened(handle);
    if (!device)
        return DeviceNotOpen;
    if (!device->lastMeasurement)
        return NoMeasurement;
    if (!densities)
        return InvalidArgument;
    std::copy(device->lastMeasurement->begin(), device->lastMeasurement->end(), densities);
    if (densityIndex)
        *densityIndex = 0;
    return Success;
}

I1_ResultType Simulator::registerDeviceEventHandler(I1_DeviceEventHandler handler, void *context)
{
    std::vector<int> pressDelaysMs;
    I1_DeviceEventHandler lateHandler = nullptr;
    void *lateContext = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        trace(std::string("I1_RegisterDeviceEventHandler ") + (handler ? "handler" : "null"));
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
        openTrace();
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
    openTrace();
    for (auto &device : m_devices) {
        device->open = false;
        device->setOptions.clear();
        device->lastMeasurement.reset();
    }
    m_handler = nullptr;
    m_handlerContext = nullptr;
    m_lastCalls.clear();
    m_lateHandler = nullptr;
    m_lateContext = nullptr;
}

void Simulator::sendDeviceEvent(int32_t code, int32_t delayMs)
{
    m_events.schedule(code, std::chrono::milliseconds(std::max(delayMs, 0)), false);
}

control::Reply Simulator::control(const std::vector<std::string> &arguments)
{
    const std::string commands = "; the commands are " + control::commandUsages(", ");
    if (arguments.empty())
        return {control::BadRequest, "no command" + commands};
    for (const control::Command &command : control::Commands) {
        if (arguments.front() != command.name)
            continue;
        if (arguments.size() != command.arguments + 1)
            return {control::BadRequest, std::string("usage: i1simctl ") + command.usage};
        switch (command.id) {
        case control::CommandId::Press:
            return sendNow(1);
        case control::CommandId::Event:
            return controlEvent(arguments[1]);
        case control::CommandId::Set:
            return controlSet(arguments[1], arguments[2]);
        case control::CommandId::Reset:
            return controlReset();
        case control::CommandId::Status:
            return controlStatus();
        }
    }
    return {control::BadRequest, "unknown command " + shown(arguments.front()) + commands};
}

control::Reply Simulator::controlEvent(const std::string &text)
{
    int32_t code = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), code);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return {control::BadRequest, "event " + shown(text) + ": expected a whole number"};
    return sendNow(code);
}

control::Reply Simulator::sendNow(int32_t code)
{
    bool handled = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        handled = m_handler != nullptr;
    }
    m_events.deliverAndWait(code, false);
    const std::string event = "event " + std::to_string(code);
    return {control::Success,
            handled ? event + " delivered\n"
                    : event
                            + " dropped: no event handler is registered, nothing waits for the "
                              "button\n"};
}

control::Reply Simulator::controlSet(const std::string &variable, const std::string &value)
{
    if (variable == "I1SIM_CONTROL") {
        return {control::BadRequest,
                "I1SIM_CONTROL is read once, at start: restart the application to move the "
                "control socket or switch it off"};
    }
    if (!Configuration::isVariable(variable)) {
        return {control::BadRequest,
                "unknown variable " + shown(variable) + "; the variables are " + variableList()};
    }
    std::unique_lock<std::mutex> lock(m_mutex);
    if (variable == "I1SIM_TRACE")
        return setTrace(value);
    Configuration changed = m_configuration;
    const std::string expected = changed.parse(variable, value);
    if (!expected.empty())
        return {control::BadRequest, variable + ' ' + shown(value) + ": expected " + expected};
    adopt(lock, std::move(changed));
    return {};
}

// A file that cannot be opened changes nothing, and i1simctl says why.
control::Reply Simulator::setTrace(const std::string &fileName)
{
    const std::string previous = m_configuration.traceFile;
    m_configuration.traceFile = fileName;
    if (openTrace())
        return {};
    const std::string reason = std::strerror(errno);
    m_configuration.traceFile = previous;
    openTrace();
    return {control::BadRequest, "I1SIM_TRACE " + shown(fileName) + ": " + reason};
}

control::Reply Simulator::controlReset()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    adopt(lock, Configuration::fromEnvironment());
    return {};
}

control::Reply Simulator::controlStatus()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::ostringstream status;
    for (const std::string &name : Configuration::variableNames)
        status << name << '=' << m_configuration.text(name) << '\n';
    status << "I1SIM_CONTROL=" << m_control.path() << '\n'
           << "event handler: " << (m_handler ? "registered" : "none") << '\n'
           << "last calls:\n";
    for (const std::string &call : m_lastCalls)
        status << "  " << call << '\n';
    return {control::Success, status.str()};
}

} // namespace i1sim

#include "configuration.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

namespace i1sim {

namespace {

// Digits only: no sign, no spaces, nothing after the number.
std::optional<int> parseCount(const std::string &text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || text.front() == '-' || error != std::errc()
            || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<float> parseFloat(const std::string &text)
{
    // from_chars ignores the desktop's locale and knows "nan" and "inf".
    float value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The items between the separators, empty ones included.
std::vector<std::string> split(const std::string &text, char separator)
{
    std::vector<std::string> items(1);
    for (const char c : text) {
        if (c == separator)
            items.emplace_back();
        else
            items.back() += c;
    }
    return items;
}

template<typename List, typename Write>
std::string joined(const List &items, Write write)
{
    std::string text;
    for (const auto &item : items)
        text += (text.empty() ? "" : ",") + write(item);
    return text;
}

std::string shortest(float value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// The faults I1SIM_FAULT names, in the order text() lists them, with their flags.
const struct
{
    const char *name;
    bool Configuration::*flag;
} faults[] = {
        {"null-list", &Configuration::nullDeviceList},
        {"invalid-utf8", &Configuration::invalidUtf8},
        {"huge-text", &Configuration::hugeText},
        {"late-event", &Configuration::lateEvent},
};

std::string faultNames()
{
    std::string names;
    for (const auto &fault : faults)
        names += (names.empty() ? "" : ", ") + std::string(fault.name);
    return names;
}

} // namespace

std::string Configuration::parse(const std::string &variable, const std::string &value)
{
    if (variable == "I1SIM_DEVICES") {
        const auto count = parseCount(value);
        if (!count || *count > MaxDevices)
            return "a number of instruments from 0 to " + std::to_string(MaxDevices);
        deviceCount = *count;
    } else if (variable == "I1SIM_SERIAL") {
        serialNumber = value;
    } else if (variable == "I1SIM_OPTIONS") {
        options.clear();
        for (const std::string &pair : split(value, ';')) {
            if (pair.empty())
                continue;
            const auto equals = pair.find('=');
            if (equals == std::string::npos)
                options[pair] = std::nullopt;
            else
                options[pair.substr(0, equals)] = pair.substr(equals + 1);
        }
    } else if (variable == "I1SIM_CALIBRATE") {
        if (value != "ok" && value != "fail")
            return "ok or fail";
        calibrationFails = value == "fail";
    } else if (variable == "I1SIM_DENSITIES") {
        const auto items = split(value, ',');
        std::array<float, 4> parsed {};
        bool valid = items.size() == parsed.size();
        for (std::size_t i = 0; valid && i < parsed.size(); ++i) {
            const auto number = parseFloat(items[i]);
            valid = number.has_value();
            parsed[i] = number.value_or(0);
        }
        if (!valid)
            return "four numbers separated by commas, with points as decimal marks";
        densities = parsed;
    } else if (variable == "I1SIM_PRESS_MS") {
        std::vector<int> parsed;
        for (const std::string &item :
                value == "never" ? std::vector<std::string>() : split(value, ',')) {
            const auto delay = parseCount(item);
            if (!delay)
                return "never, or milliseconds separated by commas";
            parsed.push_back(*delay);
        }
        pressDelaysMs = parsed;
    } else if (variable == "I1SIM_TRACE") {
        traceFile = value;
    } else if (variable == "I1SIM_FAULT") {
        Configuration parsed = *this;
        for (const auto &fault : faults)
            parsed.*fault.flag = false;
        for (const std::string &name : split(value, ',')) {
            const auto known = std::find_if(std::begin(faults), std::end(faults),
                    [&name](const auto &fault) { return name == fault.name; });
            if (known != std::end(faults))
                parsed.*known->flag = true;
            else if (!name.empty() && name != "none")
                return "none, or any of " + faultNames() + " separated by commas";
        }
        *this = parsed;
    } else if (variable == "I1SIM_UNPLUG") {
        if (value == "wait")
            unplug = Unplug::DuringWait;
        else if (value == "scan")
            unplug = Unplug::DuringScan;
        else if (value.empty() || value == "never")
            unplug = Unplug::Never;
        else
            return "never, wait or scan";
    } else if (variable == "I1SIM_ENUMERATE_MS") {
        const auto delay = parseCount(value);
        if (!delay)
            return "milliseconds";
        enumerationMs = *delay;
    }
    return {};
}

std::string Configuration::text(const std::string &variable) const
{
    if (variable == "I1SIM_DEVICES")
        return std::to_string(deviceCount);
    if (variable == "I1SIM_SERIAL")
        return serialNumber;
    if (variable == "I1SIM_OPTIONS") {
        std::string text;
        for (const auto &[key, value] : options)
            text += (text.empty() ? "" : ";") + key + (value ? '=' + *value : std::string());
        return text;
    }
    if (variable == "I1SIM_CALIBRATE")
        return calibrationFails ? "fail" : "ok";
    if (variable == "I1SIM_DENSITIES")
        return joined(densities, shortest);
    if (variable == "I1SIM_PRESS_MS") {
        return pressDelaysMs.empty()
                ? "never"
                : joined(pressDelaysMs, [](int delay) { return std::to_string(delay); });
    }
    if (variable == "I1SIM_TRACE")
        return traceFile;
    if (variable == "I1SIM_FAULT") {
        std::string text;
        for (const auto &fault : faults) {
            if (this->*fault.flag)
                text += (text.empty() ? "" : ",") + std::string(fault.name);
        }
        return text.empty() ? "none" : text;
    }
    if (variable == "I1SIM_UNPLUG")
        return unplug == Unplug::DuringWait ? "wait" : unplug == Unplug::DuringScan ? "scan" : "never";
    if (variable == "I1SIM_ENUMERATE_MS")
        return std::to_string(enumerationMs);
    return {};
}

void Configuration::set(const std::string &variable, const char *value)
{
    if (!value || !parse(variable, value).empty())
        parse(variable, Configuration().text(variable));
}

bool Configuration::isVariable(const std::string &name)
{
    return std::find(std::begin(variableNames), std::end(variableNames), name)
            != std::end(variableNames);
}

Configuration Configuration::fromEnvironment()
{
    Configuration configuration;
    for (const std::string &name : variableNames)
        configuration.set(name, std::getenv(name.c_str()));
    return configuration;
}

} // namespace i1sim

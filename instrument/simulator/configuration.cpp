#include "configuration.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <sstream>

namespace i1sim {

const char *const Configuration::variableNames[] = {
        "I1SIM_DEVICES",
        "I1SIM_SERIAL",
        "I1SIM_OPTIONS",
        "I1SIM_CALIBRATE",
        "I1SIM_DENSITIES",
        "I1SIM_PRESS_MS",
        "I1SIM_TRACE",
        "I1SIM_FAULT",
        "I1SIM_UNPLUG",
        "I1SIM_ENUMERATE_MS",
};

namespace {

std::optional<int> parseInt(const std::string &text)
{
    try {
        std::size_t used = 0;
        const int value = std::stoi(text, &used);
        if (used == text.size() && value >= 0)
            return value;
    } catch (const std::exception &) {
    }
    return std::nullopt;
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

} // namespace

void Configuration::set(const std::string &variable, const char *value)
{
    const Configuration defaults;
    if (variable == "I1SIM_DEVICES") {
        deviceCount = value ? std::min(parseInt(value).value_or(defaults.deviceCount), MaxDevices)
                            : defaults.deviceCount;
    } else if (variable == "I1SIM_SERIAL") {
        serialNumber = value ? value : defaults.serialNumber;
    } else if (variable == "I1SIM_OPTIONS") {
        options.clear();
        std::istringstream pairs(value ? value : "");
        std::string pair;
        while (std::getline(pairs, pair, ';')) {
            if (pair.empty())
                continue;
            const auto equals = pair.find('=');
            if (equals == std::string::npos)
                options[pair] = std::nullopt;
            else
                options[pair.substr(0, equals)] = pair.substr(equals + 1);
        }
    } else if (variable == "I1SIM_CALIBRATE") {
        calibrationFails = value && std::string(value) == "fail";
    } else if (variable == "I1SIM_DENSITIES") {
        densities = defaults.densities;
        std::istringstream list(value ? value : "");
        std::array<float, 4> parsed {};
        std::string item;
        std::size_t count = 0;
        while (std::getline(list, item, ',') && count < parsed.size()) {
            const auto number = parseFloat(item);
            if (!number)
                return;
            parsed[count++] = *number;
        }
        if (count == parsed.size())
            densities = parsed;
    } else if (variable == "I1SIM_PRESS_MS") {
        pressDelaysMs = defaults.pressDelaysMs;
        if (value && std::string(value) == "never") {
            pressDelaysMs.clear();
        } else if (value) {
            std::istringstream list(value);
            std::vector<int> parsed;
            std::string item;
            while (std::getline(list, item, ',')) {
                const auto delay = parseInt(item);
                if (!delay)
                    return;
                parsed.push_back(*delay);
            }
            if (!parsed.empty())
                pressDelaysMs = parsed;
        }
    } else if (variable == "I1SIM_TRACE") {
        traceFile = value ? value : "";
    } else if (variable == "I1SIM_FAULT") {
        nullDeviceList = invalidUtf8 = hugeText = lateEvent = false;
        std::istringstream list(value ? value : "");
        std::string fault;
        while (std::getline(list, fault, ',')) {
            nullDeviceList = nullDeviceList || fault == "null-list";
            invalidUtf8 = invalidUtf8 || fault == "invalid-utf8";
            hugeText = hugeText || fault == "huge-text";
            lateEvent = lateEvent || fault == "late-event";
        }
    } else if (variable == "I1SIM_UNPLUG") {
        const std::string phase = value ? value : "";
        unplug = phase == "wait"  ? Unplug::DuringWait
                : phase == "scan" ? Unplug::DuringScan
                                  : Unplug::Never;
    } else if (variable == "I1SIM_ENUMERATE_MS") {
        enumerationMs
                = value ? parseInt(value).value_or(defaults.enumerationMs) : defaults.enumerationMs;
    }
}

Configuration Configuration::fromEnvironment()
{
    Configuration configuration;
    for (const char *name : variableNames)
        configuration.set(name, std::getenv(name));
    return configuration;
}

} // namespace i1sim

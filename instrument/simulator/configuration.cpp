#include "instrument/simulator/configuration.h"

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

// One I1SIM_* variable: its name, how a value spelt as in the environment is
// taken (an empty text when it was; else what the variable expects, and
// nothing changes) and how the current value is spelt.
struct Variable
{
    const char *name;
    std::string (*parse)(Configuration &configuration, const std::string &value);
    std::string (*text)(const Configuration &configuration);
};

// Constant, so the table is there before any dynamic initialisation: the
// library reads the environment while it is being loaded.
constexpr Variable variables[] = {
        {"I1SIM_DEVICES",
                [](Configuration &configuration, const std::string &value) -> std::string {
                    const auto count = parseCount(value);
                    if (!count || *count > Configuration::MaxDevices)
                        return "a number of instruments from 0 to "
                                + std::to_string(Configuration::MaxDevices);
                    configuration.deviceCount = *count;
                    return {};
                },
                [](const Configuration &configuration) {
                    return std::to_string(configuration.deviceCount);
                }},
        {"I1SIM_SERIAL",
                [](Configuration &configuration, const std::string &value) -> std::string {
                    configuration.serialNumber = value;
                    return {};
                },
                [](const Configuration &configuration) { return configuration.serialNumber; }},
        {"I1SIM_OPTIONS",
                [](Configuration &configuration, const std::string &value) -> std::string {
                    configuration.options.clear();
                    for (const std::string &pair : split(value, ';')) {
                        if (pair.empty())
                            continue;
                        const auto equals = pair.find('=');
                        if (equals == std::string::npos)
                            configuration.options[pair] = std::nullopt;
                        else
                            configuration.options[pair.substr(0, equals)] = pair.substr(equals + 1);
                    }
                    return {};
                },
                [](const Configuration &configuration) {
                    std::string text;
                    for (const auto &[key, value] : configuration.options)
                        text += (text.empty() ? "" : ";") + key
                                + (value ? '=' + *value : std::string());
                    return text;
                }},
        {"I1SIM_CALIBRATE",
                [](Configuration &configuration, const std::string &value) -> std::string {
                    if (value != "ok" && value != "fail")
                        return "ok or fail";
                    configuration.calibrationFails = value == "fail";
                    return {};
                },
                [](const Configuration &configuration) {
                    return std::string(configuration.calibrationFails ? "fail" : "ok");
                }},
        {"I1SIM_DENSITIES",
                [](Configuration &configuration, const std::string &value) -> std::string {
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
                    configuration.densities = parsed;
                    return {};
                },
                [](const Configuration &configuration) {
                    return joined(configuration.densities, shortest);
                }},
        {"I1SIM_PRESS_MS",
                [](Configuration &configuration, const std::string &value) -> std::string {
                    std::vector<int> parsed;
                    for (const std::string &item :
                            value == "never" ? std::vector<std::string>() : split(value, ',')) {
                        const auto delay = parseCount(item);
                        if (!delay)
                            return "never, or milliseconds separated by commas";
                        parsed.push_back(*delay);
                    }
                    configuration.pressDelaysMs = parsed;
                    return {};
                },
                [](const Configuration &configuration) {
                    if (configuration.pressDelaysMs.empty())
                        return std::string("never");
                    return joined(configuration.pressDelaysMs,
                            [](int delay) { return std::to_string(delay); });
                }},
        {"I1SIM_TRACE",
                [](Configuration &configuration, const std::string &value) -> std::string {
                    configuration.traceFile = value;
                    return {};
                },
                [](const Configuration &configuration) { return configuration.traceFile; }},
        {"I1SIM_FAULT",
                [](Configuration &configuration, const std::string &value) -> std::string {
                    Configuration parsed = configuration;
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
                    configuration = parsed;
                    return {};
                },
                [](const Configuration &configuration) {
                    std::string text;
                    for (const auto &fault : faults) {
                        if (configuration.*fault.flag)
                            text += (text.empty() ? "" : ",") + std::string(fault.name);
                    }
                    return text.empty() ? std::string("none") : text;
                }},
        {"I1SIM_UNPLUG",
                [](Configuration &configuration, const std::string &value) -> std::string {
                    if (value == "wait")
                        configuration.unplug = Configuration::Unplug::DuringWait;
                    else if (value == "scan")
                        configuration.unplug = Configuration::Unplug::DuringScan;
                    else if (value.empty() || value == "never")
                        configuration.unplug = Configuration::Unplug::Never;
                    else
                        return "never, wait or scan";
                    return {};
                },
                [](const Configuration &configuration) {
                    switch (configuration.unplug) {
                    case Configuration::Unplug::DuringWait:
                        return std::string("wait");
                    case Configuration::Unplug::DuringScan:
                        return std::string("scan");
                    case Configuration::Unplug::Never:
                        break;
                    }
                    return std::string("never");
                }},
        {"I1SIM_ENUMERATE_MS",
                [](Configuration &configuration, const std::string &value) -> std::string {
                    const auto delay = parseCount(value);
                    if (!delay)
                        return "milliseconds";
                    configuration.enumerationMs = *delay;
                    return {};
                },
                [](const Configuration &configuration) {
                    return std::to_string(configuration.enumerationMs);
                }},
};

const Variable *variable(const std::string &name)
{
    const auto found = std::find_if(std::begin(variables), std::end(variables),
            [&name](const Variable &variable) { return name == variable.name; });
    return found == std::end(variables) ? nullptr : found;
}

} // namespace

std::string Configuration::parse(const std::string &name, const std::string &value)
{
    const Variable *known = variable(name);
    return known ? known->parse(*this, value) : std::string();
}

std::string Configuration::text(const std::string &name) const
{
    const Variable *known = variable(name);
    return known ? known->text(*this) : std::string();
}

void Configuration::set(const std::string &name, const char *value)
{
    if (!value || !parse(name, value).empty())
        parse(name, Configuration().text(name));
}

bool Configuration::isVariable(const std::string &name)
{
    return variable(name) != nullptr;
}

std::vector<std::string> Configuration::variableNames()
{
    std::vector<std::string> names;
    for (const Variable &known : variables)
        names.emplace_back(known.name);
    return names;
}

Configuration Configuration::fromEnvironment()
{
    Configuration configuration;
    for (const Variable &known : variables)
        configuration.set(known.name, std::getenv(known.name));
    return configuration;
}

} // namespace i1sim

#ifndef SIMULATOR_CONFIGURATION_H
#define SIMULATOR_CONFIGURATION_H

#include <array>
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace i1sim {

// What the simulated instruments look like, from the I1SIM_* variables.
// Each variable is one row of the table in configuration.cpp: its name, how
// its value is taken and how it is spelt again; the environment and the
// control socket both set it through parse().
struct Configuration
{
    static constexpr int MaxDevices = 64;
    int deviceCount = 1;
    std::string serialNumber = "SIM0001";
    // Option answers that override the defaults; an empty optional makes the
    // SDK answer null for that key ("Key" without "=" in I1SIM_OPTIONS).
    std::map<std::string, std::optional<std::string>> options;
    bool calibrationFails = false;
    std::array<float, 4> densities = {1.42f, 1.38f, 1.05f, 0.91f};
    // Milliseconds from registering a handler to each simulated button press
    // ("0,0" presses twice at once); empty for no press.
    std::vector<int> pressDelaysMs = {1500};
    std::string traceFile;
    // Faults of a real SDK, from the comma-separated names in I1SIM_FAULT.
    // null-list: the device list is answered as null while its count is above 0.
    bool nullDeviceList = false;
    // invalid-utf8: every option text ends in bytes that are not UTF-8.
    bool invalidUtf8 = false;
    // huge-text: every option text is padded to HugeTextSize bytes.
    bool hugeText = false;
    static constexpr std::size_t HugeTextSize = 1 << 20;
    // When the instruments are unplugged (I1SIM_UNPLUG).
    enum class Unplug { Never, DuringWait, DuringScan };
    Unplug unplug = Unplug::Never;
    // late-event: once unregistering has returned, the old handler is called
    // once more with a press and its old context, as the next handler is
    // registered (before that registration returns).
    bool lateEvent = false;
    // How long I1_GetDevices takes (I1SIM_ENUMERATE_MS).
    int enumerationMs = 0;

    // Takes one variable's value, spelt as in the environment. Answers what
    // the variable expects, and changes nothing, when the value does not parse;
    // an empty text when it was taken.
    std::string parse(const std::string &name, const std::string &value);
    // The variable's current value, spelt as parse() takes it.
    std::string text(const std::string &name) const;
    // The setting of one variable from the environment: a null value, or one
    // that does not parse, leaves the default in place.
    void set(const std::string &name, const char *value);

    static bool isVariable(const std::string &name);
    // The variables' names, in the table's order.
    static std::vector<std::string> variableNames();
    static Configuration fromEnvironment();
};

} // namespace i1sim

#endif

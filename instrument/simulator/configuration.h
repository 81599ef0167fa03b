#ifndef SIMULATOR_CONFIGURATION_H
#define SIMULATOR_CONFIGURATION_H

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace i1sim {

// What the simulated instruments look like, from the I1SIM_* variables.
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
    // The device list is answered as null while its count is above 0.
    bool nullDeviceList = false;

    // The setting of one variable; a null value leaves the default in place.
    // Unparsable values leave the default in place too.
    void set(const std::string &variable, const char *value);

    static Configuration fromEnvironment();
    static const char *const variableNames[];
};

} // namespace i1sim

#endif

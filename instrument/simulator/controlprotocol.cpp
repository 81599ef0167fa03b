#include "controlprotocol.h"

#include <cstdlib>

namespace i1sim::control {

namespace {
std::string configured()
{
    const char *value = std::getenv("I1SIM_CONTROL");
    return value ? value : "";
}
} // namespace

bool switchedOff()
{
    return configured() == "off";
}

std::string socketPath(std::string &whyNone)
{
    const std::string configured = control::configured();
    if (switchedOff()) {
        whyNone = "the control socket is switched off (I1SIM_CONTROL=off)";
        return {};
    }
    if (!configured.empty()) {
        if (configured.front() != '/') {
            whyNone = "I1SIM_CONTROL is not an absolute path: " + configured;
            return {};
        }
        return configured;
    }
    const char *runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || !*runtime) {
        whyNone = "XDG_RUNTIME_DIR is not set; set I1SIM_CONTROL to the control socket's path";
        return {};
    }
    return std::string(runtime) + '/' + SocketName;
}

} // namespace i1sim::control

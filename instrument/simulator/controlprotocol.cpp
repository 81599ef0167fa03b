#include "instrument/simulator/controlprotocol.h"

#include <cstdlib>

#ifndef _WIN32
#include <cerrno>

#include <sys/socket.h>
#endif

namespace i1sim::control {

namespace {
std::string configured()
{
    const char *value = std::getenv("I1SIM_CONTROL");
    return value ? value : "";
}
} // namespace

std::string commandUsages(const char *separator)
{
    std::string usages;
    for (const Command &command : Commands)
        usages += (usages.empty() ? "" : separator) + std::string(command.usage);
    return usages;
}

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

#ifndef _WIN32
bool sendAll(int connection, const std::string &data)
{
    for (std::size_t sent = 0; sent < data.size();) {
        const ssize_t written
                = ::send(connection, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        sent += std::size_t(written);
    }
    return true;
}
#endif

} // namespace i1sim::control

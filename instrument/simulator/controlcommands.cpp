#include "instrument/simulator/controlcommands.h"

#include "instrument/simulator/configuration.h"
#include "instrument/simulator/simulator.h"

#include <charconv>
#include <cstdio>
#include <sstream>

namespace i1sim {

namespace {

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
    for (const std::string &name : Configuration::variableNames())
        list += (list.empty() ? "" : ", ") + name;
    return list;
}

} // namespace

ControlCommands::ControlCommands(Simulator &simulator)
    : m_simulator(simulator)
{
    m_socket.start([this](const std::vector<std::string> &arguments) { return run(arguments); });
}

control::Reply ControlCommands::run(const std::vector<std::string> &arguments)
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
            return event(arguments[1]);
        case control::CommandId::Set:
            return set(arguments[1], arguments[2]);
        case control::CommandId::Reset:
            return reset();
        case control::CommandId::Status:
            return status();
        }
    }
    return {control::BadRequest, "unknown command " + shown(arguments.front()) + commands};
}

control::Reply ControlCommands::event(const std::string &text)
{
    int32_t code = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), code);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return {control::BadRequest, "event " + shown(text) + ": expected a whole number"};
    return sendNow(code);
}

control::Reply ControlCommands::sendNow(int32_t code)
{
    const bool handled = m_simulator.deliverNow(code);
    const std::string event = "event " + std::to_string(code);
    return {control::Success,
            handled ? event + " delivered\n"
                    : event
                            + " dropped: no event handler is registered, nothing waits for the "
                              "button\n"};
}

control::Reply ControlCommands::set(const std::string &variable, const std::string &value)
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
    if (variable == "I1SIM_TRACE")
        return setTrace(value);
    const std::string expected = m_simulator.setVariable(variable, value);
    if (!expected.empty())
        return {control::BadRequest, variable + ' ' + shown(value) + ": expected " + expected};
    return {};
}

// A file that cannot be opened changes nothing, and i1simctl says why.
control::Reply ControlCommands::setTrace(const std::string &fileName)
{
    const std::string reason = m_simulator.setTraceFile(fileName);
    if (reason.empty())
        return {};
    return {control::BadRequest, "I1SIM_TRACE " + shown(fileName) + ": " + reason};
}

control::Reply ControlCommands::reset()
{
    m_simulator.restoreConfiguration();
    return {};
}

control::Reply ControlCommands::status()
{
    const Simulator::Status state = m_simulator.status();
    std::ostringstream status;
    for (const std::string &name : Configuration::variableNames())
        status << name << '=' << state.configuration.text(name) << '\n';
    status << "I1SIM_CONTROL=" << m_socket.path() << '\n'
           << "event handler: " << (state.handlerRegistered ? "registered" : "none") << '\n'
           << "last calls:\n";
    for (const std::string &call : state.lastCalls)
        status << "  " << call << '\n';
    return {control::Success, status.str()};
}

} // namespace i1sim

#ifndef SIMULATOR_CONTROLPROTOCOL_H
#define SIMULATOR_CONTROLPROTOCOL_H

#include <cstddef>
#include <string>

// What i1simctl and the simulator say to each other over the control socket:
// a request is the command's arguments, each ended by a NUL byte; the answer
// is the exit code as one digit followed by the text to print.
namespace i1sim::control {

enum ExitCode {
    Success = 0,
    NotListening = 1,
    BadRequest = 2,
};

struct Reply
{
    ExitCode exitCode = Success;
    std::string text;
};

// The commands, as i1simctl's usage and the simulator's answers name them.
enum class CommandId { Press, Event, Set, Reset, Status };

struct Command
{
    CommandId id;
    const char *name;
    // The command with its arguments, as the usage writes it.
    const char *usage;
    std::size_t arguments;
};

constexpr Command Commands[] = {
        {CommandId::Press, "press", "press", 0},
        {CommandId::Event, "event", "event CODE", 1},
        {CommandId::Set, "set", "set VARIABLE VALUE", 2},
        {CommandId::Reset, "reset", "reset", 0},
        {CommandId::Status, "status", "status", 0},
};

// The usages of all commands, joined by the separator.
std::string commandUsages(const char *separator);

constexpr std::size_t MaxRequestSize = 64 * 1024;
constexpr const char *SocketName = "i1sim-control";

// True when I1SIM_CONTROL=off asks for no control socket.
bool switchedOff();

// Where the control socket is: the absolute path I1SIM_CONTROL names, else
// SocketName in XDG_RUNTIME_DIR. Empty, with the reason in whyNone, when
// there is none (I1SIM_CONTROL=off among them).
std::string socketPath(std::string &whyNone);

#ifndef _WIN32
// Sends all of data on a connected socket, going on after interruptions;
// false when the peer has gone.
bool sendAll(int connection, const std::string &data);
#endif

} // namespace i1sim::control

#endif

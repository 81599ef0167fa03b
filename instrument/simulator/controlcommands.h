#ifndef SIMULATOR_CONTROLCOMMANDS_H
#define SIMULATOR_CONTROLCOMMANDS_H

#include "instrument/simulator/controlprotocol.h"
#include "instrument/simulator/controlsocket.h"

#include <cstdint>
#include <string>
#include <vector>

namespace i1sim {

class Simulator;

// i1simctl's commands, served on the control socket for as long as the
// object lives: each request is checked, run on the simulator and answered
// in i1simctl's words.
class ControlCommands
{
public:
    // Starts serving at once: the simulator must be ready for requests.
    explicit ControlCommands(Simulator &simulator);

    // One request of i1simctl: its arguments, without the command's name.
    control::Reply run(const std::vector<std::string> &arguments);

private:
    control::Reply event(const std::string &code);
    control::Reply set(const std::string &variable, const std::string &value);
    control::Reply setTrace(const std::string &fileName);
    control::Reply reset();
    control::Reply status();
    control::Reply sendNow(int32_t code);

    Simulator &m_simulator;
    ControlSocket m_socket;
};

} // namespace i1sim

#endif

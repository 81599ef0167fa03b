#ifndef SIMULATOR_CONTROLSOCKET_H
#define SIMULATOR_CONTROLSOCKET_H

#include "instrument/simulator/controlprotocol.h"

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace i1sim {

// Serves i1simctl on a local socket from a thread of its own, so a person can
// press the button while the application's GUI thread waits for it. Only
// processes of the same user get an answer. The socket lives as long as the
// object, in the process that made it; a lock file beside it tells a live
// socket from one a crashed process left. Not on Windows.
class ControlSocket
{
public:
    using Handler = std::function<control::Reply(const std::vector<std::string> &arguments)>;

    ControlSocket() = default;
    ~ControlSocket();

    ControlSocket(const ControlSocket &) = delete;
    ControlSocket &operator=(const ControlSocket &) = delete;

    // Listens where control::socketPath() says, unless another process of
    // this user already does; says on standard error why it cannot.
    void start(Handler handler);
    // Stops serving and removes the socket.
    void stop();
    // The socket's path, empty while not listening.
    const std::string &path() const { return m_path; }

private:
    bool lock(const std::string &lockPath);
    bool listen(const std::string &path);
    void run();
    void serve(int connection);
    bool samePeer(int connection) const;
    void closeAll();

    Handler m_handler;
    std::string m_path;
    std::string m_lockPath;
    int m_lock = -1;
    int m_listener = -1;
    int m_wakeRead = -1;
    int m_wakeWrite = -1;
    long m_owner = 0;
    std::thread m_thread;
};

} // namespace i1sim

#endif

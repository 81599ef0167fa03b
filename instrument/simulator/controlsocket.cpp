#include "instrument/simulator/controlsocket.h"

#ifndef _WIN32

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace i1sim {

namespace {

// A client that neither finishes its request nor reads its answer in this
// time is dropped, so it cannot hold up the next one.
constexpr std::chrono::milliseconds ClientTimeout {2000};

void complain(const std::string &path, const std::string &reason)
{
    std::fprintf(stderr, "i1sim: no control socket at %s: %s\n", path.c_str(), reason.c_str());
}

std::string lockPathOf(const std::string &path)
{
    return path + ".lock";
}

// The arguments of a request: items each ended by a NUL byte.
std::optional<std::vector<std::string>> argumentsOf(const std::string &request)
{
    if (!request.empty() && request.back() != '\0')
        return std::nullopt;
    std::vector<std::string> arguments;
    for (std::size_t start = 0; start < request.size();) {
        const std::size_t end = request.find('\0', start);
        arguments.push_back(request.substr(start, end - start));
        start = end + 1;
    }
    return arguments;
}

} // namespace

ControlSocket::~ControlSocket()
{
    stop();
}

void ControlSocket::start(Handler handler)
{
    std::string whyNone;
    const std::string path = control::socketPath(whyNone);
    if (path.empty()) {
        if (!control::switchedOff())
            std::fprintf(stderr, "i1sim: no control socket: %s\n", whyNone.c_str());
        return;
    }
    m_owner = long(::getpid());
    if (!lock(lockPathOf(path)))
        return;
    int wake[2];
    if (!listen(path) || ::pipe2(wake, O_CLOEXEC) != 0) {
        closeAll();
        return;
    }
    m_wakeRead = wake[0];
    m_wakeWrite = wake[1];
    m_path = path;
    m_handler = std::move(handler);
    // Signals are for the application's threads: none interrupts a request here.
    sigset_t all;
    sigset_t previous;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &previous);
    m_thread = std::thread([this] { run(); });
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

void ControlSocket::stop()
{
    if (m_lock < 0)
        return;
    if (long(::getpid()) != m_owner) {
        // A forked child: the socket and its thread are the parent's.
        if (m_thread.joinable())
            m_thread.detach();
        return;
    }
    if (m_thread.joinable()) {
        const char wake = 0;
        while (::write(m_wakeWrite, &wake, 1) < 0 && errno == EINTR) { }
        m_thread.join();
    }
    closeAll();
}

bool ControlSocket::lock(const std::string &lockPath)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int file = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (file < 0) {
            complain(lockPath, std::strerror(errno));
            return false;
        }
        if (::flock(file, LOCK_EX | LOCK_NB) != 0) {
            // Held: another process of this user serves the socket. Not an
            // error, the application's second start ends at once.
            if (errno != EWOULDBLOCK)
                complain(lockPath, std::strerror(errno));
            ::close(file);
            return false;
        }
        // A process that ended meanwhile may have removed the file it held;
        // the lock counts only on the file the path still names.
        struct stat held
        {
        };
        struct stat named
        {
        };
        if (::fstat(file, &held) == 0 && ::stat(lockPath.c_str(), &named) == 0
                && held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            m_lock = file;
            m_lockPath = lockPath;
            return true;
        }
        ::close(file);
    }
    complain(lockPath, "the lock file keeps being replaced");
    return false;
}

bool ControlSocket::listen(const std::string &path)
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        complain(path, "the path is too long for a local socket");
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);

    struct stat existing
    {
    };
    if (::lstat(path.c_str(), &existing) == 0) {
        if (!S_ISSOCK(existing.st_mode)) {
            complain(path, "a file that is not a socket is in the way");
            return false;
        }
        // Left by a process that ended without removing it: the lock is ours.
        ::unlink(path.c_str());
    }
    m_listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_listener < 0
            || ::bind(m_listener, reinterpret_cast<const sockaddr *>(&address), sizeof address)
                    != 0) {
        complain(path, std::strerror(errno));
        return false;
    }
    // Connections in the moment before chmod are turned away by samePeer().
    if (::chmod(path.c_str(), 0600) != 0 || ::listen(m_listener, 8) != 0) {
        complain(path, std::strerror(errno));
        ::unlink(path.c_str());
        return false;
    }
    return true;
}

void ControlSocket::closeAll()
{
    if (!m_path.empty())
        ::unlink(m_path.c_str());
    if (m_lock >= 0)
        ::unlink(m_lockPath.c_str());
    for (int *descriptor : {&m_listener, &m_wakeRead, &m_wakeWrite, &m_lock}) {
        if (*descriptor >= 0)
            ::close(*descriptor);
        *descriptor = -1;
    }
    m_path.clear();
}

void ControlSocket::run()
{
    for (;;) {
        pollfd waiting[] = {{m_listener, POLLIN, 0}, {m_wakeRead, POLLIN, 0}};
        if (::poll(waiting, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (waiting[1].revents || (waiting[0].revents & (POLLERR | POLLNVAL)))
            return;
        const int connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            continue;
        if (samePeer(connection))
            serve(connection);
        ::close(connection);
    }
}

bool ControlSocket::samePeer(int connection) const
{
#ifdef __linux__
    ucred peer {};
    socklen_t size = sizeof peer;
    return ::getsockopt(connection, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0
            && peer.uid == ::geteuid();
#else
    uid_t user = 0;
    gid_t group = 0;
    return ::getpeereid(connection, &user, &group) == 0 && user == ::geteuid();
#endif
}

void ControlSocket::serve(int connection)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + ClientTimeout;
    std::string request;
    char buffer[4096];
    for (;;) {
        const auto left
                = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd waiting[] = {{connection, POLLIN, 0}, {m_wakeRead, POLLIN, 0}};
        if (left.count() <= 0 || ::poll(waiting, 2, int(left.count())) <= 0 || waiting[1].revents)
            return;
        const ssize_t received = ::recv(connection, buffer, sizeof buffer, 0);
        if (received < 0 && errno == EINTR)
            continue;
        if (received < 0)
            return;
        if (received == 0)
            break;
        if (request.size() + std::size_t(received) > control::MaxRequestSize) {
            control::sendAll(connection,
                    char('0' + control::BadRequest) + std::string("the request is too long"));
            return;
        }
        request.append(buffer, std::size_t(received));
    }
    const auto arguments = argumentsOf(request);
    const control::Reply reply = arguments
            ? m_handler(*arguments)
            : control::Reply {control::BadRequest, "malformed request"};
    const timeval timeout {ClientTimeout.count() / 1000, 0};
    ::setsockopt(connection, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    control::sendAll(connection, char('0' + reply.exitCode) + reply.text);
}

} // namespace i1sim

#else

namespace i1sim {

// Left out on Windows: i1simctl is not built there.
ControlSocket::~ControlSocket() = default;
void ControlSocket::start(Handler) { }
void ControlSocket::stop() { }

} // namespace i1sim

#endif

// i1simctl: presses the simulated instrument's button, changes its I1SIM_*
// variables and shows its state, inside the application that runs it.
#include "instrument/simulator/controlprotocol.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using namespace i1sim::control;

const std::string Usage = "usage: i1simctl " + commandUsages(" | ") + '\n';

// Long enough for a press delivered while the application's handler is slow.
constexpr int AnswerTimeoutSeconds = 10;

int fail(const std::string &message)
{
    std::fprintf(stderr, "i1simctl: %s\n", message.c_str());
    return NotListening;
}

int connected(const std::string &path)
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return -1;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int connection = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (connection >= 0
            && ::connect(connection, reinterpret_cast<const sockaddr *>(&address), sizeof address)
                    == 0)
        return connection;
    const int error = errno;
    if (connection >= 0)
        ::close(connection);
    errno = error;
    return -1;
}

bool sendRequest(int connection, int argc, char **argv)
{
    std::string request;
    for (int i = 1; i < argc; ++i)
        request.append(argv[i]).push_back('\0');
    return i1sim::control::sendAll(connection, request) && ::shutdown(connection, SHUT_WR) == 0;
}

std::string answerOf(int connection)
{
    const timeval timeout {AnswerTimeoutSeconds, 0};
    ::setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    std::string answer;
    char buffer[4096];
    for (;;) {
        const ssize_t received = ::recv(connection, buffer, sizeof buffer, 0);
        if (received < 0 && errno == EINTR)
            continue;
        if (received < 0)
            return {};
        if (received == 0)
            return answer;
        answer.append(buffer, std::size_t(received));
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fputs(Usage.c_str(), stderr);
        return BadRequest;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs(Usage.c_str(), stdout);
        return Success;
    }
    std::string whyNone;
    const std::string path = socketPath(whyNone);
    if (path.empty())
        return fail(whyNone);
    const int connection = connected(path);
    if (connection < 0) {
        return fail("no simulated instrument listens on " + path + " (" + std::strerror(errno)
                + "): is the application running with the simulated SDK, in this session?");
    }
    const bool sent = sendRequest(connection, argc, argv);
    const std::string answer = sent ? answerOf(connection) : std::string();
    ::close(connection);
    if (answer.empty() || (answer[0] != '0' + Success && answer[0] != '0' + BadRequest))
        return fail("the simulated instrument on " + path + " gave no answer");
    const std::string text = answer.substr(1);
    if (answer[0] == '0' + BadRequest) {
        std::fprintf(stderr, "i1simctl: %s\n", text.c_str());
        return BadRequest;
    }
    std::fputs(text.c_str(), stdout);
    return Success;
}

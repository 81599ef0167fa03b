#include "app/desktop/quitonsignal.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

namespace {
// Written by the signal handler, read on the application's thread: a
// handler may do little more than write to a descriptor.
int signalSockets[2] = {-1, -1};
constexpr int endingSignals[] = {SIGTERM, SIGHUP, SIGINT};
} // namespace

QuitOnSignal::QuitOnSignal()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSockets) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &QuitOnSignal::quit);
    struct sigaction action = {};
    action.sa_handler = &QuitOnSignal::handleSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : endingSignals)
        ::sigaction(signal, &action, nullptr);
}

QuitOnSignal::~QuitOnSignal()
{
    for (const int signal : endingSignals)
        std::signal(signal, SIG_DFL);
}

void QuitOnSignal::handleSignal(int signal)
{
    const char number = char(signal);
    [[maybe_unused]] const ssize_t written = ::write(signalSockets[0], &number, 1);
}

void QuitOnSignal::quit()
{
    char number = 0;
    [[maybe_unused]] const ssize_t read = ::read(signalSockets[1], &number, 1);
    emit ending();
    QCoreApplication::quit();
}

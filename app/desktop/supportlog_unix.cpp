#include "app/desktop/supportlog.h"

#include "app/desktop/logfile.h"

#include <QDir>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Everything of a piece of output to the descriptor, unless it is gone.
bool writeAll(int descriptor, const char *data, ssize_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(descriptor, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

// In the copying process: until every writer has closed its end (the
// application, the engine's processes, whatever they started), each piece
// goes to the real standard error and into the log. The signals that end
// the application leave it running, so that it copies the application's
// last lines; a standard error that went away does not end the log.
[[noreturn]] void copyLines(int lines, pid_t application, const QString &runsOn)
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE})
        std::signal(signal, SIG_IGN);
    ::close(STDIN_FILENO);
    ::close(STDOUT_FILENO);
    LogFile log(SupportLog::fileName());
    log.write(SupportLog::firstLines(application, runsOn));
    bool toStandardError = true;
    char buffer[65536];
    for (;;) {
        const ssize_t size = ::read(lines, buffer, sizeof buffer);
        if (size < 0 && errno == EINTR)
            continue;
        if (size <= 0)
            break;
        toStandardError = toStandardError && writeAll(STDERR_FILENO, buffer, size);
        log.write(QByteArray(buffer, int(size)));
    }
    log.finish();
    ::_exit(0);
}

} // namespace

QString SupportLog::fileName()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/Vantrel/vantrelnut.log");
}

void SupportLog::start(const QString &runsOn)
{
    int lines[2];
    if (::pipe2(lines, O_CLOEXEC) != 0)
        return;
    const pid_t application = ::getpid();
    const pid_t copier = ::fork();
    if (copier == 0) {
        ::close(lines[1]);
        copyLines(lines[0], application, runsOn);
    }
    ::close(lines[0]);
    // Standard error becomes the pipe, for the processes started from now
    // on too (the copy of the descriptor is not closed when they start).
    if (copier > 0)
        ::dup2(lines[1], STDERR_FILENO);
    ::close(lines[1]);
}

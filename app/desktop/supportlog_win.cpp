#include "app/desktop/supportlog.h"

#include "app/desktop/logfile.h"

#include <QStandardPaths>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <thread>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace {

std::thread copier;
std::future<void> copied;

// Until the application closes its end at exit: every piece into the log.
void copyLines(int lines, QString runsOn, std::promise<void> done)
{
    LogFile log(SupportLog::fileName());
    log.write(SupportLog::firstLines(GetCurrentProcessId(), runsOn));
    char buffer[65536];
    for (int size; (size = _read(lines, buffer, sizeof buffer)) > 0;)
        log.write(QByteArray(buffer, size));
    log.finish();
    _close(lines);
    done.set_value();
}

// The last lines reach the log before the process ends, unless a process
// started from the application still holds standard error: then the wait
// is short.
void stopCopying()
{
    std::fflush(stderr);
    _close(_fileno(stderr));
    if (copied.wait_for(std::chrono::seconds(1)) == std::future_status::ready)
        copier.join();
    else
        copier.detach();
}

} // namespace

QString SupportLog::fileName()
{
    // The local application data folder, without the organisation and
    // application names that Qt would add to it.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
            + QStringLiteral("/Vantrel/vantrelnut.log");
}

void SupportLog::start(const QString &runsOn)
{
    // Qt writes its debug log to the debugger's output unless asked for
    // standard error.
    if (!qEnvironmentVariableIsSet("QT_FORCE_STDERR_LOGGING"))
        qputenv("QT_FORCE_STDERR_LOGGING", "1");
    int lines[2];
    // Not handed to the processes the application starts.
    if (_pipe(lines, 65536, _O_BINARY | _O_NOINHERIT) != 0)
        return;
    // A program without a console starts with no standard error to replace.
    if (_fileno(stderr) < 0)
        std::freopen("NUL", "w", stderr);
    if (_dup2(lines[1], _fileno(stderr)) != 0) {
        _close(lines[0]);
        _close(lines[1]);
        return;
    }
    _close(lines[1]);
    std::setvbuf(stderr, nullptr, _IONBF, 0);
    std::promise<void> done;
    copied = done.get_future();
    copier = std::thread(copyLines, lines[0], runsOn, std::move(done));
    std::atexit(stopCopying);
}

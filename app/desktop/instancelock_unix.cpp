#include "app/desktop/instancelock.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// The desktop session, as part of a file name: the Wayland display, else the
// X display without its screen number (":0" and ":0.0" are one session),
// else the login session; empty outside any. The user's runtime folder is the
// same in all of them, so it alone would let a remote session find the desk's
// window and bring it forward where nobody sees it.
QString desktopSession()
{
    QString session = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (session.isEmpty()) {
        session = qEnvironmentVariable("DISPLAY");
        const int colon = session.lastIndexOf(QLatin1Char(':'));
        const int screen = colon < 0 ? -1 : session.indexOf(QLatin1Char('.'), colon);
        if (screen >= 0)
            session.truncate(screen);
    }
    if (session.isEmpty())
        session = qEnvironmentVariable("XDG_SESSION_ID");
    // A Wayland display may be a path, an X display names a host.
    for (QChar &c : session) {
        const bool plain = c.unicode() < 0x80 && (c.isLetterOrNumber() || c == QLatin1Char('-'));
        if (!plain && c != QLatin1Char('.'))
            c = QLatin1Char('_');
    }
    return session;
}

// In the user's runtime folder, which only that user can reach.
QString sessionFile(const QString &key, const char *suffix)
{
    const QString session = desktopSession();
    const QString name = session.isEmpty() ? key : key + QLatin1Char('-') + session;
    return QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation))
            .filePath(name + QLatin1String(suffix));
}

} // namespace

// flock() rather than QLockFile: the kernel drops it with the process, so no
// stale-lock guess (process id, age) is needed; close-on-exec keeps the
// browser's helper processes and opened viewers from inheriting it.
InstanceLock::InstanceLock(const QString &key)
    : m_serverName(sessionFile(key, ".socket"))
{
    const QString lockName = sessionFile(key, ".lock");
    m_handle = ::open(QFile::encodeName(lockName).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_handle < 0) {
        qWarning() << "Cannot open the instance lock" << lockName;
        m_held = true;
        return;
    }
    m_held = ::flock(int(m_handle), LOCK_EX | LOCK_NB) == 0;
}

InstanceLock::~InstanceLock()
{
    if (m_handle >= 0)
        ::close(int(m_handle));
}

// The window manager alone decides what comes to the foreground.
void InstanceLock::letHolderComeForward() { }

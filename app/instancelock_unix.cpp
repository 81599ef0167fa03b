#include "instancelock.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// The user's runtime folder is per session and reachable by that user only.
QString sessionFile(const QString &key, const char *suffix)
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation))
            .filePath(key + QLatin1String(suffix));
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

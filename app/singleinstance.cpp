#include "singleinstance.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

// How long a later start keeps knocking while the first one is still
// starting up and not yet listening.
constexpr int reachTimeoutMs = 10000;
constexpr int retryIntervalMs = 100;

#ifdef Q_OS_WIN
// Named pipes are seen by every session of the machine; the session's id
// keeps them apart (the lock's "Local\" namespace already is per session).
QString sessionName(const QString &key)
{
    DWORD session = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &session);
    return key + QLatin1Char('-') + QString::number(session);
}

QString lockName(const QString &key)
{
    return QStringLiteral("Local\\") + key;
}

QString serverName(const QString &key)
{
    return sessionName(key);
}
#else
// The user's runtime folder is per session and reachable by that user only.
QString sessionFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

QString lockName(const QString &key)
{
    return QDir(sessionFolder()).filePath(key + QStringLiteral(".lock"));
}

QString serverName(const QString &key)
{
    return QDir(sessionFolder()).filePath(key + QStringLiteral(".socket"));
}
#endif

} // namespace

SingleInstance::SingleInstance(const QString &key)
    : m_lockName(lockName(key))
    , m_serverName(serverName(key))
{
    m_first = lock();
}

SingleInstance::~SingleInstance()
{
    m_server.close();
    unlock();
}

#ifdef Q_OS_WIN
bool SingleInstance::lock()
{
    m_mutex = CreateMutexW(nullptr, FALSE, reinterpret_cast<LPCWSTR>(m_lockName.utf16()));
    if (!m_mutex) {
        qWarning() << "Cannot create the instance lock:" << GetLastError();
        return true; // better two windows than none
    }
    return GetLastError() != ERROR_ALREADY_EXISTS;
}

void SingleInstance::unlock()
{
    if (m_mutex)
        CloseHandle(m_mutex);
}
#else
// flock() rather than QLockFile: the kernel drops it with the process, so no
// stale-lock guess (process id, age) is needed; close-on-exec keeps the
// browser's helper processes and opened viewers from inheriting it.
bool SingleInstance::lock()
{
    const QByteArray path = QFile::encodeName(m_lockName);
    m_lockFile = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_lockFile < 0) {
        qWarning() << "Cannot open the instance lock" << m_lockName;
        return true; // better two windows than none
    }
    return ::flock(m_lockFile, LOCK_EX | LOCK_NB) == 0;
}

void SingleInstance::unlock()
{
    if (m_lockFile >= 0)
        ::close(m_lockFile);
}
#endif

bool SingleInstance::bringFirstForward() const
{
    // The first one may hold the lock and still be opening the instrument;
    // it listens only once its window exists.
    const QDeadlineTimer deadline(reachTimeoutMs);
#ifdef Q_OS_WIN
    // Windows lets only the process the user just started take the
    // foreground; this start passes that right on.
    AllowSetForegroundWindow(ASFW_ANY);
#endif
    QLocalSocket socket;
    do {
        socket.connectToServer(m_serverName, QIODevice::WriteOnly);
        if (socket.waitForConnected(retryIntervalMs)) {
            socket.write("forward\n");
            // The running one hangs up once it has read the request and come forward.
            return socket.waitForBytesWritten(reachTimeoutMs)
                    && (socket.state() == QLocalSocket::UnconnectedState
                            || socket.waitForDisconnected(reachTimeoutMs));
        }
        QThread::msleep(retryIntervalMs);
    } while (!deadline.hasExpired());
    qWarning() << "Already running, but not answering:" << m_serverName;
    return false;
}

void SingleInstance::bringForwardOnRequest(QWidget *window)
{
    m_window = window;
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server.nextPendingConnection()) {
            // Hung up only after the request is read: closing earlier could
            // fail the later start's write, which would then report failure.
            // Whatever the line says, it only ever means "come forward".
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine())
                    return;
                socket->disconnect(this);
                socket->disconnectFromServer();
                comeForward();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    // Holding the lock, a socket left by a crashed run is certainly stale.
    QLocalServer::removeServer(m_serverName);
    if (!m_server.listen(m_serverName))
        qWarning() << "Cannot listen for later starts:" << m_server.errorString();
}

void SingleInstance::comeForward()
{
    m_window->setWindowState((m_window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

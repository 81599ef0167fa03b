#include "app/desktop/singleinstance.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QLocalSocket>
#include <QThread>

namespace {

// How long a later start keeps knocking while the first one is still
// starting up and not yet listening.
constexpr int reachTimeoutMs = 10000;
constexpr int retryIntervalMs = 100;

} // namespace

SingleInstance::SingleInstance(const QString &key)
    : m_lock(key)
{
}

bool SingleInstance::bringFirstForward() const
{
    // The first one may hold the lock and still be opening the instrument;
    // it listens only once its window exists.
    const QDeadlineTimer deadline(reachTimeoutMs);
    InstanceLock::letHolderComeForward();
    QLocalSocket socket;
    do {
        socket.connectToServer(m_lock.serverName(), QIODevice::WriteOnly);
        if (socket.waitForConnected(retryIntervalMs)) {
            socket.write("forward\n");
            // The running one hangs up once it has read the request and come forward.
            return socket.waitForBytesWritten(reachTimeoutMs)
                    && (socket.state() == QLocalSocket::UnconnectedState
                            || socket.waitForDisconnected(reachTimeoutMs));
        }
        QThread::msleep(retryIntervalMs);
    } while (!deadline.hasExpired());
    qWarning() << "Already running, but not answering:" << m_lock.serverName();
    return false;
}

void SingleInstance::listenForLaterStarts()
{
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
                emit forwardRequested();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    // Holding the lock, a socket left by a crashed run is certainly stale.
    QLocalServer::removeServer(m_lock.serverName());
    if (!m_server.listen(m_lock.serverName()))
        qWarning() << "Cannot listen for later starts:" << m_server.errorString();
}

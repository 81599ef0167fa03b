#include "support/httptestserver.h"

#include <QTcpSocket>
#include <QUrlQuery>

#include <utility>

namespace {

QByteArray reasonPhrase(int status)
{
    static const QHash<int, QByteArray> phrases {
            {200, "OK"},
            {301, "Moved Permanently"},
            {302, "Found"},
            {303, "See Other"},
            {304, "Not Modified"},
            {305, "Use Proxy"},
            {306, "Switch Proxy"},
            {307, "Temporary Redirect"},
            {308, "Permanent Redirect"},
            {404, "Not Found"},
            {500, "Internal Server Error"},
    };
    return phrases.value(status, "Unknown");
}

bool isRedirect(int status)
{
    return status >= 300 && status < 400 && status != 304 && status != 306;
}

} // namespace

HttpTestServer::HttpTestServer()
{
    connect(&m_server, &QTcpServer::newConnection, this, &HttpTestServer::accept);
    m_server.listen(QHostAddress::LocalHost, 0);
}

HttpTestServer::~HttpTestServer()
{
    // The connections close as the server goes and must not reach back here.
    for (QTcpSocket *socket : m_server.findChildren<QTcpSocket *>())
        socket->disconnect(this);
}

QUrl HttpTestServer::url(const QString &pathAndQuery) const
{
    return QUrl(
            QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(pathAndQuery));
}

void HttpTestServer::releaseHeldBodies()
{
    for (QTcpSocket *socket : std::as_const(m_heldSockets)) {
        socket->write(m_heldRests.take(socket));
        socket->disconnectFromHost();
    }
    m_heldSockets.clear();
}

QByteArray HttpTestServer::body(qint64 size)
{
    QByteArray bytes(int(size), Qt::Uninitialized);
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char('a' + i % 23);
    return bytes;
}

void HttpTestServer::accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_requestHeads.remove(socket);
            m_heldRests.remove(socket);
            m_heldSockets.removeAll(socket);
            socket->deleteLater();
        });
    }
}

void HttpTestServer::readRequest(QTcpSocket *socket)
{
    QByteArray &head = m_requestHeads[socket];
    head += socket->readAll();
    if (!head.contains("\r\n\r\n"))
        return;
    // "GET /path?query HTTP/1.1"
    const QByteArray target = head.left(head.indexOf("\r\n")).split(' ').value(1);
    m_requestHeads.remove(socket);
    ++m_requestCount;
    answer(socket, QUrlQuery(QUrl::fromEncoded(target).query()));
}

void HttpTestServer::answer(QTcpSocket *socket, const QUrlQuery &query)
{
    const int status = query.hasQueryItem("status") ? query.queryItemValue("status").toInt() : 200;
    const QByteArray body = status == 304
            ? QByteArray()
            : HttpTestServer::body(query.queryItemValue("size").toLongLong());

    QByteArray head
            = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reasonPhrase(status) + "\r\n";
    if (isRedirect(status))
        head += "Location: /elsewhere/moved.pdf\r\n";
    if (status != 304)
        head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    head += "Content-Type: application/pdf\r\nConnection: close\r\n\r\n";

    const bool sendHalf = query.hasQueryItem("hold") || query.hasQueryItem("drop");
    const int sentSize = sendHalf ? body.size() / 2 : body.size();
    socket->write(head + body.left(sentSize));
    if (query.hasQueryItem("hold")) {
        m_heldSockets.append(socket);
        m_heldRests.insert(socket, body.mid(sentSize));
        return;
    }
    socket->disconnectFromHost(); // after what was written has gone out
}

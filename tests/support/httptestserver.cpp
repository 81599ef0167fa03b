#include "tests/support/httptestserver.h"

#include <QTcpSocket>
#include <QUrlQuery>

#include <utility>

#include <zlib.h>

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

// data in zlib's gzip (windowBits 31), zlib (15) or bare deflate (-15) format.
QByteArray compressed(const QByteArray &data, int windowBits)
{
    z_stream stream {};
    deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(int(deflateBound(&stream, uLong(data.size()))), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(int(stream.total_out));
    deflateEnd(&stream);
    return out;
}

QByteArray encoded(const QByteArray &body, const QUrlQuery &query)
{
    const QString encoding = query.queryItemValue("encoding");
    QByteArray sent = body;
    if (encoding == "gzip" && query.queryItemValue("members") == "2")
        sent = compressed(body.left(body.size() / 2), 31) + compressed(body.mid(body.size() / 2), 31);
    else if (encoding == "gzip")
        sent = compressed(body, 31);
    else if (encoding == "deflate")
        sent = compressed(body, 15);
    else if (encoding == "rawdeflate")
        sent = compressed(body, -15);
    if (query.hasQueryItem("cut"))
        sent.truncate(query.queryItemValue("cut").toInt());
    return sent + QByteArray(query.queryItemValue("tail").toInt(), 'x');
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
            : encoded(HttpTestServer::body(query.queryItemValue("size").toLongLong()), query);
    QString encoding = query.queryItemValue("encoding");
    if (encoding == "rawdeflate")
        encoding = "deflate";

    QByteArray head
            = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reasonPhrase(status) + "\r\n";
    if (isRedirect(status))
        head += "Location: /elsewhere/moved.pdf\r\n";
    if (status != 304)
        head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    if (!encoding.isEmpty())
        head += "Content-Encoding: " + encoding.toLatin1() + "\r\n";
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

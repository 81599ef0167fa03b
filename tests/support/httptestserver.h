#ifndef HTTPTESTSERVER_H
#define HTTPTESTSERVER_H

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QUrl>

class QTcpSocket;
class QUrlQuery;

// A small HTTP/1.1 server on 127.0.0.1 and a free port. The path of a
// request plays no part, so it can end in any file name; the query picks
// the answer:
//   size=N    a body of N bytes, body(N) (status 200 unless given)
//   status=N  that status line; redirects carry a Location header
//   hold=1    half of the body, the rest only when releaseHeldBodies() is called
//   drop=1    half of the body, then the connection is closed
//   encoding=gzip|deflate|rawdeflate|br
//             the body compressed so, named in Content-Encoding (deflate
//             in zlib's format, rawdeflate as the bare stream some servers
//             send, br as it is); members=2 makes a gzip body two members
//   cut=N     only the first N bytes of the compressed body, declared as its length
//   tail=N    N bytes that are not compressed data after the compressed body
// Every answer closes its connection.
class HttpTestServer : public QObject
{
    Q_OBJECT

public:
    HttpTestServer();
    ~HttpTestServer() override;

    bool isListening() const { return m_server.isListening(); }
    QUrl url(const QString &pathAndQuery) const;
    int requestCount() const { return m_requestCount; }
    int heldBodyCount() const { return m_heldSockets.size(); }

    void releaseHeldBodies();

    // The body of a given size that every answer sends.
    static QByteArray body(qint64 size);

private:
    void accept();
    void readRequest(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const QUrlQuery &query);

    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_requestHeads;
    QHash<QTcpSocket *, QByteArray> m_heldRests;
    QList<QTcpSocket *> m_heldSockets;
    int m_requestCount = 0;
};

#endif // HTTPTESTSERVER_H

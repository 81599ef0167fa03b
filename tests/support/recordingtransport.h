#ifndef RECORDINGTRANSPORT_H
#define RECORDINGTRANSPORT_H

#include <QJsonObject>
#include <QList>
#include <QWebChannelAbstractTransport>

// A web channel transport without a browser: it records what the channel
// sends and delivers what the page's qwebchannel.js would send, so the whole
// channel protocol runs in a plain test.
class RecordingTransport : public QWebChannelAbstractTransport
{
    Q_OBJECT

public:
    using QWebChannelAbstractTransport::QWebChannelAbstractTransport;

    void sendMessage(const QJsonObject &message) override { m_sent.append(message); }

    // Sends a client message and answers the channel's response with that id.
    QJsonObject request(QJsonObject message);

    // The page's handshake: the channel answers with the published objects.
    QJsonObject initialize();
    // The page calling a method by its index, as qwebchannel.js does.
    QJsonValue invoke(const QString &object, int methodIndex, const QJsonArray &arguments);

private:
    QList<QJsonObject> m_sent;
    int m_nextId = 1;
};

#endif // RECORDINGTRANSPORT_H

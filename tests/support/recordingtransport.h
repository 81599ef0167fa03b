#ifndef RECORDINGTRANSPORT_H
#define RECORDINGTRANSPORT_H

#include <QByteArray>
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

    // A message as the page's script sends it, as text. Parsed the way the
    // browser's transport parses it: anything but a JSON object is dropped,
    // and then the answer is false.
    bool deliverText(const QByteArray &text);

    QList<QJsonObject> sent() const { return m_sent; }
    void forgetSent() { m_sent.clear(); }

private:
    QList<QJsonObject> m_sent;
    int m_nextId = 1;
};

#endif // RECORDINGTRANSPORT_H

#include "recordingtransport.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {
// Message types of the web channel protocol.
enum MessageType { Init = 3, InvokeMethod = 6, Response = 10 };
} // namespace

QJsonObject RecordingTransport::request(QJsonObject message)
{
    const int id = m_nextId++;
    message[QStringLiteral("id")] = id;
    const int earlier = m_sent.size();
    emit messageReceived(message, this);
    for (int i = earlier; i < m_sent.size(); ++i) {
        const QJsonObject &sent = m_sent.at(i);
        if (sent.value(QStringLiteral("type")).toInt() == Response
                && sent.value(QStringLiteral("id")).toInt() == id)
            return sent;
    }
    return {};
}

bool RecordingTransport::deliverText(const QByteArray &text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    emit messageReceived(document.object(), this);
    return true;
}

QJsonObject RecordingTransport::initialize()
{
    return request({{QStringLiteral("type"), Init}}).value(QStringLiteral("data")).toObject();
}

QJsonValue RecordingTransport::invoke(
        const QString &object, int methodIndex, const QJsonArray &arguments)
{
    return request(
            {{QStringLiteral("type"), InvokeMethod}, {QStringLiteral("object"), object},
                    {QStringLiteral("method"), methodIndex}, {QStringLiteral("args"), arguments}})
            .value(QStringLiteral("data"));
}

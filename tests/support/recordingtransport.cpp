#include "recordingtransport.h"

#include <QJsonArray>

namespace {
// Message types of the web channel protocol.
enum MessageType { Init = 3, InvokeMethod = 6, Response = 10 };
} // namespace

QJsonObject RecordingTransport::request(QJsonObject message)
{
    const int id = m_nextId++;
    message[QStringLiteral("id")] = id;
    emit messageReceived(message, this);
    for (const QJsonObject &sent : qAsConst(m_sent)) {
        if (sent.value(QStringLiteral("type")).toInt() == Response
                && sent.value(QStringLiteral("id")).toInt() == id)
            return sent;
    }
    return {};
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

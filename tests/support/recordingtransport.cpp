#include "tests/support/recordingtransport.h"

#include <QJsonArray>
#include <QJsonDocument>

#if defined(__SANITIZE_ADDRESS__)
#define LEAK_SANITIZER
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LEAK_SANITIZER
#endif
#endif
#ifdef LEAK_SANITIZER
#include <sanitizer/lsan_interface.h>
#endif

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
    QJsonDocument document;
    {
#ifdef LEAK_SANITIZER
        // Qt 5.15's JSON parser leaks parts of a text it gives up on; the leak
        // is the toolkit's, and the sanitizer build would report it otherwise.
        __lsan::ScopedDisabler toolkitLeaks;
#endif
        document = QJsonDocument::fromJson(text, &error);
    }
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

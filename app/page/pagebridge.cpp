#include "app/page/pagebridge.h"

#include "app/trust/trustedorigins.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace {

// Of no other script of the application's.
constexpr quint32 bridgeWorld = QWebEngineScript::UserWorld + 1;

// The trusted origins as the scripts compare them with a document's location.
QString policyOf(const TrustedOrigins &trusted)
{
    const QJsonObject policy {
            {QStringLiteral("origins"), QJsonArray::fromStringList(trusted.webOrigins())},
            {QStringLiteral("schemes"), QJsonArray::fromStringList(trusted.localSchemes())},
    };
    return QString::fromUtf8(QJsonDocument(policy).toJson(QJsonDocument::Compact));
}

// Main frame only, as each document is made, before the document's own scripts.
QWebEngineScript bridgeScript(const QString &fileName, quint32 world, const QString &policy)
{
    QFile file(QStringLiteral(":/bridge/") + fileName);
    const bool opened = file.open(QIODevice::ReadOnly);
    Q_ASSERT(opened); // a resource of the executable
    Q_UNUSED(opened)
    QWebEngineScript script;
    script.setName(QStringLiteral("vantrelnut-bridge-") + fileName);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(world);
    script.setRunsOnSubFrames(false);
    script.setSourceCode(
            QString::fromUtf8(file.readAll()).replace(QLatin1String("BRIDGE_POLICY"), policy));
    return script;
}

} // namespace

namespace PageBridge {

void publish(QWebEnginePage *page, QWebChannel *channel, const TrustedOrigins &trusted)
{
    const QString policy = policyOf(trusted);
    page->scripts().insert(bridgeScript(QStringLiteral("relay.js"), bridgeWorld, policy));
    page->scripts().insert(
            bridgeScript(QStringLiteral("transport.js"), QWebEngineScript::MainWorld, policy));
    page->setWebChannel(channel, bridgeWorld);
}

} // namespace PageBridge

#include "app/page/pagebridge.h"

#include "app/page/pagescript.h"
#include "app/trust/trustedorigins.h"

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

// The trusted origins in place of the script's BRIDGE_POLICY.
QWebEngineScript bridgeScript(const QString &fileName, quint32 world, const QString &policy)
{
    QWebEngineScript script
            = PageScript::fromResource(QStringLiteral("bridge/") + fileName, world, false);
    script.setSourceCode(script.sourceCode().replace(QLatin1String("BRIDGE_POLICY"), policy));
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

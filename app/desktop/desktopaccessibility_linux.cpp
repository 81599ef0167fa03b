#include "app/desktop/desktopaccessibility.h"

#include "base/logcategories.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QVariantMap>

namespace {

const char engineVariable[] = "QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY";
const QString busService = QStringLiteral("org.a11y.Bus");

// The desktop's switch, as Qt's own accessibility bridge reads it on the
// session bus it connects to at every start anyway: one round trip when
// nothing runs the accessibility bus, which the question never starts.
bool desktopSwitchIsOn()
{
    const QDBusConnection session = QDBusConnection::sessionBus();
    if (!session.isConnected() || !session.interface()->isServiceRegistered(busService))
        return false;
    QDBusMessage question
            = QDBusMessage::createMethodCall(busService, QStringLiteral("/org/a11y/bus"),
                    QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("GetAll"));
    question << QStringLiteral("org.a11y.Status");
    const QDBusMessage reply = session.call(question, QDBus::Block, 500);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    const QVariantMap status = qdbus_cast<QVariantMap>(reply.arguments().constFirst());
    return status.value(QStringLiteral("IsEnabled")).toBool()
            || status.value(QStringLiteral("ScreenReaderEnabled")).toBool();
}

bool desktopAccessibilityIsOn()
{
    return qEnvironmentVariableIsSet("AT_SPI_BUS_ADDRESS")
            || qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON") || desktopSwitchIsOn();
}

} // namespace

namespace DesktopAccessibility {

const char *offerPages()
{
    if (qEnvironmentVariableIsSet(engineVariable))
        return nullptr;
    if (!desktopAccessibilityIsOn()) {
        qCDebug(lcAccessibility) << "The desktop's accessibility is off";
        return nullptr;
    }
    qCDebug(lcAccessibility) << "The desktop's accessibility is on: the pages are offered to it";
    qputenv(engineVariable, "1");
    return engineVariable;
}

} // namespace DesktopAccessibility

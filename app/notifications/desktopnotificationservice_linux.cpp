#include "app/notifications/desktopnotificationservice.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QGuiApplication>

namespace {

const QString serviceName = QStringLiteral("org.freedesktop.Notifications");
const QString servicePath = QStringLiteral("/org/freedesktop/Notifications");
// A service that does not answer must not hold the window for long.
constexpr int callTimeoutMs = 2000;

// The service's signals, which the bus delivers by their slots' signatures.
class ServiceSignals : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

signals:
    void clicked(quint32 id);
    void closed(quint32 id);

public slots:
    void ActionInvoked(uint id, const QString &) { emit clicked(id); }
    void NotificationClosed(uint id, uint) { emit closed(id); }
};

QDBusInterface *serviceInterface(QObject *parent)
{
    auto *interface = new QDBusInterface(
            serviceName, servicePath, serviceName, QDBusConnection::sessionBus(), parent);
    interface->setTimeout(callTimeoutMs);
    return interface;
}

} // namespace

DesktopNotifications::Service::Service(DesktopNotifications *notifications)
    : QObject(notifications)
    , m_notifications(notifications)
{
    auto *signals_ = new ServiceSignals(this);
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.connect(serviceName, servicePath, serviceName, QStringLiteral("ActionInvoked"), signals_,
            SLOT(ActionInvoked(uint, QString)));
    bus.connect(serviceName, servicePath, serviceName, QStringLiteral("NotificationClosed"),
            signals_, SLOT(NotificationClosed(uint, uint)));
    connect(signals_, &ServiceSignals::clicked, notifications,
            [notifications](quint32 id) { notifications->clicked(id); });
    connect(signals_, &ServiceSignals::closed, notifications,
            [notifications](quint32 id) { notifications->closed(id); });
    const QDBusReply<QStringList> capabilities
            = serviceInterface(this)->call(QStringLiteral("GetCapabilities"));
    m_readsMarkup = capabilities.value().contains(QStringLiteral("body-markup"));
}

quint32 DesktopNotifications::Service::show(
        const QString &title, const QString &text, quint32 replaced)
{
    // The summary is never read as markup, the body may be.
    const QString body = m_readsMarkup ? text.toHtmlEscaped() : text;
    const QVariantMap hints
            = {{QStringLiteral("desktop-entry"), QGuiApplication::desktopFileName()}};
    QDBusInterface *service = serviceInterface(this);
    const QDBusReply<uint> id = service->call(QStringLiteral("Notify"),
            QCoreApplication::applicationName(), uint(replaced), QStringLiteral("vantrelnut"),
            title, body, QStringList {QStringLiteral("default"), QString()}, hints, -1);
    service->deleteLater();
    return id.isValid() ? id.value() : 0;
}

void DesktopNotifications::Service::withdraw(quint32 id)
{
    QDBusInterface *service = serviceInterface(this);
    service->call(QDBus::NoBlock, QStringLiteral("CloseNotification"), uint(id));
    service->deleteLater();
}

#include "desktopnotificationservice_linux.moc"

#include "app/notifications/desktopnotificationservice.h"

#include <QGuiApplication>
#include <QSystemTrayIcon>

namespace {

QSystemTrayIcon *trayIcon(QObject *parent)
{
    auto *icon = new QSystemTrayIcon(QGuiApplication::windowIcon(), parent);
    icon->show();
    return icon;
}

} // namespace

// The tray shows one message at a time and tells only that the last was clicked.
DesktopNotifications::Service::Service(DesktopNotifications *notifications)
    : QObject(notifications)
    , m_notifications(notifications)
{
    connect(trayIcon(this), &QSystemTrayIcon::messageClicked, notifications,
            [this] { m_notifications->clicked(m_lastId); });
}

quint32 DesktopNotifications::Service::show(const QString &title, const QString &text, quint32)
{
    auto *icon = findChild<QSystemTrayIcon *>();
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return 0;
    icon->showMessage(title, text);
    return ++m_lastId;
}

void DesktopNotifications::Service::withdraw(quint32) { }

#include "app/notifications/desktopnotifications.h"

#include "app/notifications/desktopnotificationservice.h"

#include <QPointer>
#include <QWebEngineNotification>
#include <QWebEngineProfile>

DesktopNotifications::DesktopNotifications(QWebEngineProfile *profile, QObject *parent)
    : QObject(parent)
{
    // The profile may outlive this, or go first.
    const QPointer<DesktopNotifications> self(this);
    profile->setNotificationPresenter([self](std::unique_ptr<QWebEngineNotification> notification) {
        if (self)
            self->present(std::move(notification));
    });
}

DesktopNotifications::Service *DesktopNotifications::service()
{
    if (!m_service)
        m_service = new Service(this);
    return m_service;
}

void DesktopNotifications::present(std::unique_ptr<QWebEngineNotification> notification)
{
    // A notification with the tag of one still shown takes its place.
    quint32 replaced = 0;
    for (auto shown = m_shown.cbegin(); shown != m_shown.cend(); ++shown) {
        if (!notification->tag().isEmpty() && shown.value()->matches(notification.get()))
            replaced = shown.key();
    }
    const quint32 id = service()->show(notification->title(), notification->message(), replaced);
    if (id == 0)
        return;
    m_shown.remove(replaced);
    const std::shared_ptr<QWebEngineNotification> shown(std::move(notification));
    connect(shown.get(), &QWebEngineNotification::closed, this, [this, id] {
        service()->withdraw(id);
        m_shown.remove(id);
    });
    shown->show();
    m_shown.insert(id, shown);
}

void DesktopNotifications::clicked(quint32 id)
{
    if (const auto notification = m_shown.value(id))
        notification->click();
}

void DesktopNotifications::closed(quint32 id)
{
    if (const auto notification = m_shown.take(id))
        notification->close();
}

#ifndef DESKTOPNOTIFICATIONSERVICE_H
#define DESKTOPNOTIFICATIONSERVICE_H

#include "app/notifications/desktopnotifications.h"

#include <QObject>

// The desktop's notification service as DesktopNotifications uses it: the
// freedesktop.org service on the session bus on Linux, the system tray's
// messages elsewhere. One source file per platform.
class DesktopNotifications::Service : public QObject
{
public:
    explicit Service(DesktopNotifications *notifications);

    // Shows a notification in place of the one with that id (0: none);
    // returns its id, or 0 when the desktop would not show it.
    quint32 show(const QString &title, const QString &text, quint32 replaced);
    void withdraw(quint32 id);

private:
    DesktopNotifications *const m_notifications;
    bool m_readsMarkup = false;
    quint32 m_lastId = 0;
};

#endif // DESKTOPNOTIFICATIONSERVICE_H

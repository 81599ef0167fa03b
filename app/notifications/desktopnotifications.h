#ifndef DESKTOPNOTIFICATIONS_H
#define DESKTOPNOTIFICATIONS_H

#include <QHash>
#include <QObject>

#include <memory>

class QWebEngineNotification;
class QWebEngineProfile;

// Shows the web application's notifications through the desktop's
// notification service, under the application's name and icon; a click on
// one, and its closing, reach the page. The page's title and text are shown
// as text.
class DesktopNotifications : public QObject
{
    Q_OBJECT

public:
    // Becomes the profile's presenter for as long as this lives.
    DesktopNotifications(QWebEngineProfile *profile, QObject *parent);

private:
    // The desktop's side, one source file per platform.
    class Service;

    // Reached only once there is something to show: nothing of it at start.
    Service *service();
    void present(std::unique_ptr<QWebEngineNotification> notification);
    void clicked(quint32 id);
    void closed(quint32 id);

    Service *m_service = nullptr;
    QHash<quint32, std::shared_ptr<QWebEngineNotification>> m_shown; // by the service's id
};

#endif // DESKTOPNOTIFICATIONS_H

#ifndef PAGEPERMISSIONS_H
#define PAGEPERMISSIONS_H

#include "trust/trustedorigins.h"

#include <QObject>
#include <QWebEnginePage>

// Answers every request of the page for a device or a service of the
// desktop at once, so no promise of the page waits for ever: the web
// application's own origins get notifications and full screen, the page may
// write the clipboard but not read it, everything else (the position, the
// microphone, the camera, the screen, the mouse lock) is refused, and every
// other origin is refused everything. A refusal names the origin and the
// permission on standard error.
class PagePermissions : public QObject
{
    Q_OBJECT

public:
    PagePermissions(QWebEnginePage *page, const TrustedOrigins &trustedOrigins);

    static bool grants(const TrustedOrigins &trustedOrigins, const QUrl &origin,
            QWebEnginePage::Feature feature);
    // Full screen for the web application's own origins; a refusal is
    // reported as any other.
    bool grantsFullScreen(const QUrl &origin) const;

private:
    // The line on standard error for a refused permission ("camera", "full screen").
    static void reportRefusal(const QString &permission, const QUrl &origin);
    // The permission in words for the log: "camera", "location", ...
    static QString name(QWebEnginePage::Feature feature);
    void answer(const QUrl &origin, QWebEnginePage::Feature feature);

    QWebEnginePage *const m_page;
    const TrustedOrigins &m_trustedOrigins;
};

#endif // PAGEPERMISSIONS_H

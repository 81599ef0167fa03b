#ifndef PAGEPERMISSIONS_H
#define PAGEPERMISSIONS_H

#include "app/trust/trustedorigins.h"

#include <QObject>

class QWebEnginePage;

// Answers every request of the page for a device or a service of the
// desktop at once, so no promise of the page waits for ever: the web
// application's own origins get notifications and full screen, the page may
// write the clipboard but not read it, everything else (the position, the
// microphone, the camera, the screen, the mouse lock) is refused, and every
// other origin is refused everything. The window's policy answers each
// request: no answer is kept for a later one. A refusal names the origin and
// the permission on standard error.
class PagePermissions : public QObject
{
    Q_OBJECT

public:
    PagePermissions(QWebEnginePage *page, const TrustedOrigins &trustedOrigins);

    // Full screen for the web application's own origins; a refusal is
    // reported as any other.
    bool grantsFullScreen(const QUrl &origin) const;

private:
    // How the engine asks, one source file per way: through the page's
    // features (Qt 5, Qt 6 before 6.8) or through QWebEnginePermission.
    void answerRequests();

    // Whether origin gets the permission (in words for the log: "camera"):
    // only the web application's own origins, and only those permissions
    // they may have; a refusal is reported.
    bool grants(const QUrl &origin, const QString &permission, bool trustedMayHaveIt) const;
    static void reportRefusal(const QString &permission, const QUrl &origin);

    QWebEnginePage *const m_page;
    const TrustedOrigins &m_trustedOrigins;
};

#endif // PAGEPERMISSIONS_H

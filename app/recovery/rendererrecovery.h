#ifndef RENDERERRECOVERY_H
#define RENDERERRECOVERY_H

#include "app/trust/trustedorigins.h"
#include "base/backoff.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>

// Loads the web application again when the page's renderer process dies
// (a crash, a kill, out of memory), so a person is not left with a blank
// window. The address is the one the page was showing when it is trusted,
// else the server address. A page that kills its renderer again and
// again is not reloaded in a tight loop: while crashes follow each other
// within a minute, each wait is twice the one before, from one second up to
// half a minute. The window makes the reload it asks for.
class RendererRecovery : public QObject
{
    Q_OBJECT

public:
    RendererRecovery(
            QWebEnginePage *page, const QUrl &server, const TrustedOrigins &trustedOrigins);

signals:
    void reloadRequested(const QUrl &address);

private:
    void renderProcessTerminated(
            QWebEnginePage::RenderProcessTerminationStatus status, int exitCode);

    QWebEnginePage *m_page;
    const QUrl m_server;
    const TrustedOrigins &m_trustedOrigins;
    // One second, doubling up to half a minute while crashes follow within
    // a minute of each other.
    Backoff m_backoff {1000, 30000, 60000};
    QElapsedTimer m_clock;
    QTimer m_reloadTimer;
    QUrl m_address;
};

#endif // RENDERERRECOVERY_H

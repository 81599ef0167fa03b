#include "app/recovery/rendererrecovery.h"

#include <QDebug>

RendererRecovery::RendererRecovery(
        QWebEnginePage *page, const QUrl &server, const TrustedOrigins &trustedOrigins)
    : m_page(page)
    , m_server(server)
    , m_trustedOrigins(trustedOrigins)
{
    m_clock.start();
    m_reloadTimer.setSingleShot(true);
    connect(&m_reloadTimer, &QTimer::timeout, this, [this] { emit reloadRequested(m_address); });
    connect(page, &QWebEnginePage::renderProcessTerminated, this,
            &RendererRecovery::renderProcessTerminated);
}

void RendererRecovery::renderProcessTerminated(
        QWebEnginePage::RenderProcessTerminationStatus status, int exitCode)
{
    qDebug() << "Renderer process ended:" << status << exitCode;
    if (status == QWebEnginePage::NormalTerminationStatus)
        return;
    const QUrl shown = m_page->url();
    m_address = m_trustedOrigins.isTrusted(shown) ? shown : m_server;
    // Never from inside this handler: in Qt 5 a load started here hangs.
    m_reloadTimer.start(int(m_backoff.delayAfterFailureAt(m_clock.elapsed())));
}

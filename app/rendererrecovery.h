#ifndef RENDERERRECOVERY_H
#define RENDERERRECOVERY_H

#include "reloadbackoff.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>

#include <functional>

// Loads the web application again when the page's renderer process dies
// (a crash, a kill, out of memory), so a person is not left with a blank
// window. The address is the one the page was showing when mayReload allows
// it, else the server address; the waits before reloading follow
// ReloadBackoff. The window makes the reload it asks for.
class RendererRecovery : public QObject
{
    Q_OBJECT

public:
    using MayReload = std::function<bool(const QUrl &)>;

    RendererRecovery(QWebEnginePage *page, const QUrl &server, MayReload mayReload);

signals:
    void reloadRequested(const QUrl &address);

private:
    void renderProcessTerminated(
            QWebEnginePage::RenderProcessTerminationStatus status, int exitCode);

    QWebEnginePage *m_page;
    const QUrl m_server;
    const MayReload m_mayReload;
    ReloadBackoff m_backoff;
    QElapsedTimer m_clock;
    QTimer m_reloadTimer;
    QUrl m_address;
};

#endif // RENDERERRECOVERY_H

#ifndef LOADRETRY_H
#define LOADRETRY_H

#include "app/recovery/unreachablepage.h"
#include "app/recovery/unreachablewatch.h"
#include "app/trust/trustedorigins.h"
#include "base/backoff.h"

#include <QObject>
#include <QSet>
#include <QTimer>
#include <QUrl>

class QWebEngineView;

// Brings the web application back when its server cannot be reached: the
// view shows an UnreachablePage meanwhile, and the address is loaded afresh
// in the window's own page, out of sight (never reloaded: a form's POST is
// not sent again). The channel stays with the window's page throughout.
class LoadRetry : public QObject
{
    Q_OBJECT

public:
    // Only the web application's own addresses are tried again.
    LoadRetry(QWebEngineView *view, QWebEnginePage *page, const TrustedOrigins &trustedOrigins);

    // True while the view shows the bundled page instead of the window's.
    bool isWaiting() const;
    // Tries the address again now.
    void retry();

private:
    void unreachable(const QUrl &address, const QString &reason);
    void shown();
    void retryWhenNetworkReturns();

    QWebEngineView *const m_view;
    QWebEnginePage *const m_page;
    const TrustedOrigins &m_trustedOrigins;
    UnreachableWatch m_watch;
    UnreachablePage m_unreachablePage;
    QTimer m_retryTimer;
    QUrl m_address;
    // Two seconds, doubling up to a minute until a load succeeds.
    Backoff m_backoff {2000, 60000};
    QSet<QString> m_reported; // each address and reason told since the last load
    bool m_watchingNetwork = false;
};

#endif // LOADRETRY_H

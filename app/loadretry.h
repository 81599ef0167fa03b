#ifndef LOADRETRY_H
#define LOADRETRY_H

#include "backoff.h"
#include "unreachablepage.h"
#include "unreachablewatch.h"

#include <QObject>
#include <QSet>
#include <QTimer>
#include <QUrl>

#include <functional>

class QWebEngineView;

// Brings the web application back when its server cannot be reached, at
// start (the network or the VPN may not be up yet) or later. While the
// address fails, the view shows an UnreachablePage instead of the engine's
// error text, and the address is tried again in the window's own page, out
// of sight: with a fresh request, so a form's POST is never sent again, after
// 2 s, then twice as long each time up to a minute, at once when the person
// presses "Try again" or when Qt reports the network reachable again. Once a
// document loads, the view shows the window's page again; the channel stays
// with that page throughout and never reaches the bundled page. Each address
// and reason is reported once on standard error, not at every try.
class LoadRetry : public QObject
{
    Q_OBJECT

public:
    using MayRetry = std::function<bool(const QUrl &)>;

    LoadRetry(QWebEngineView *view, QWebEnginePage *page, MayRetry mayRetry);

    // The waits before trying the address again after each failure.
    static Backoff retryBackoff() { return Backoff(2000, 60000); }

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
    const MayRetry m_mayRetry;
    UnreachableWatch m_watch;
    UnreachablePage m_unreachablePage;
    QTimer m_retryTimer;
    QUrl m_address;
    Backoff m_backoff = retryBackoff();
    QSet<QString> m_reported; // each address and reason told since the last load
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    bool m_watchingNetwork = false;
#endif
};

#endif // LOADRETRY_H

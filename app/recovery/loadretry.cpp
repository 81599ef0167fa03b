#include "app/recovery/loadretry.h"

#include "base/standarderror.h"

#include <QWebEngineView>

LoadRetry::LoadRetry(
        QWebEngineView *view, QWebEnginePage *page, const TrustedOrigins &trustedOrigins)
    : m_view(view)
    , m_page(page)
    , m_trustedOrigins(trustedOrigins)
    , m_watch(page)
    , m_unreachablePage(page->profile())
{
    m_retryTimer.setSingleShot(true);
    connect(&m_retryTimer, &QTimer::timeout, this, &LoadRetry::retry);
    connect(&m_watch, &UnreachableWatch::unreachable, this, &LoadRetry::unreachable);
    connect(&m_watch, &UnreachableWatch::shown, this, &LoadRetry::shown);
    connect(&m_unreachablePage, &UnreachablePage::retryRequested, this, &LoadRetry::retry);
}

void LoadRetry::unreachable(const QUrl &address, const QString &reason)
{
    if (!m_trustedOrigins.isTrusted(address)) {
        shown(); // not the web application's: the engine's page says it
        return;
    }
    const QString failure = address.toString() + QLatin1Char(' ') + reason;
    if (!m_reported.contains(failure)) {
        m_reported.insert(failure);
        const QByteArray shown = address.toEncoded(QUrl::RemovePassword | QUrl::FullyEncoded);
        StandardError::writeLine(
                QStringLiteral("Could not load %1: %2").arg(QString::fromLatin1(shown), reason));
    }
    m_address = address;
    const int delay = int(m_backoff.delayAfterFailure());
    m_unreachablePage.show(address, reason, delay / 1000);
    if (m_view->page() != &m_unreachablePage)
        m_view->setPage(&m_unreachablePage);
    m_retryTimer.start(delay);
    retryWhenNetworkReturns();
}

void LoadRetry::shown()
{
    m_retryTimer.stop();
    m_backoff.reset();
    m_reported.clear();
    if (m_view->page() != m_page)
        m_view->setPage(m_page);
}

bool LoadRetry::isWaiting() const
{
    return m_view->page() == &m_unreachablePage;
}

// A fresh load of the address, never a reload: a reload would send a form's
// POST again.
void LoadRetry::retry()
{
    m_retryTimer.stop();
    m_page->setUrl(m_address);
}

void LoadRetry::retryWhenNetworkReturns()
{
    // Watched from the first failure on, as most starts never need it.
    if (m_watchingNetwork)
        return;
    m_watchingNetwork = true;
    UnreachableWatch::whenNetworkReachable(this, [this] {
        if (m_retryTimer.isActive())
            retry();
    });
}

#include "loadretry.h"

#include <QWebEngineView>

#include <cstdio>

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QNetworkInformation>
#endif

LoadRetry::LoadRetry(QWebEngineView *view, QWebEnginePage *page, MayRetry mayRetry)
    : m_view(view)
    , m_page(page)
    , m_mayRetry(std::move(mayRetry))
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
    if (!m_mayRetry(address)) {
        shown(); // not the web application's: the engine's page says it
        return;
    }
    const QString failure = address.toString() + QLatin1Char(' ') + reason;
    if (!m_reported.contains(failure)) {
        m_reported.insert(failure);
        std::fprintf(stderr, "Could not load %s: %s\n",
                address.toEncoded(QUrl::RemovePassword | QUrl::FullyEncoded).constData(),
                reason.toLocal8Bit().constData());
        std::fflush(stderr);
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
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    // Loaded at the first failure, as most starts never need it. Debian's
    // Qt 6 asks GLib's network monitor, or NetworkManager; where no backend
    // answers, only the countdown tries again.
    if (m_watchingNetwork)
        return;
    m_watchingNetwork = true;
    if (!QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
        return;
    connect(QNetworkInformation::instance(), &QNetworkInformation::reachabilityChanged, this,
            [this](QNetworkInformation::Reachability reachability) {
                if (reachability > QNetworkInformation::Reachability::Disconnected
                        && m_retryTimer.isActive())
                    retry();
            });
#else
    // Qt 5 would learn it only by polling the network interfaces, which the
    // downloader was freed from: the countdown alone tries again.
#endif
}

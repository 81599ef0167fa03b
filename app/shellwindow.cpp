#include "shellwindow.h"

#include "startupsettings.h"

ShellWindow::ShellWindow(const StartupSettings &startup, QObject *bridge)
    : m_title(&m_view)
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    , m_persistentProfile(QStringLiteral("Default"))
#endif
    , m_trustedOrigins(startup.server, startup.trustedOrigins)
    , m_page(m_trustedOrigins, profile())
    , m_pageDownloads(&m_view, profile())
    // After a renderer crash the page shown is loaded again when it is trusted.
    , m_rendererRecovery(&m_page, startup.server,
              [this](const QUrl &shown) { return m_trustedOrigins.isTrusted(shown); })
    // Only the web application's own addresses are tried again.
    , m_loadRetry(&m_view, &m_page,
              [this](const QUrl &failed) { return m_trustedOrigins.isTrusted(failed); })
{
    if (startup.noContextMenu)
        m_view.setContextMenuPolicy(Qt::NoContextMenu);
    m_view.setPage(&m_page);
    // Attached before the page loads, so the page's script finds the object.
    m_channel.registerObject(QStringLiteral("vizEveDivuzaviz"), bridge);
    m_page.setWebChannel(&m_channel);
    m_view.setUrl(startup.server);
}

void ShellWindow::show(bool maximized)
{
    if (maximized)
        m_view.showMaximized();
    else
        m_view.show();
}

QWebEngineProfile *ShellWindow::profile()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    // Qt 6's default profile keeps nothing on disk. A profile named as Qt 5's
    // default one keeps cookies, local storage and cache where Qt 5 kept
    // them, so the page finds what it stored across starts and upgrades.
    return &m_persistentProfile;
#else
    return QWebEngineProfile::defaultProfile();
#endif
}

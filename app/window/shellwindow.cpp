#include "app/window/shellwindow.h"

#include "app/engine/enginecompat.h"
#include "app/notifications/desktopnotifications.h"
#include "app/page/pagebridge.h"
#include "app/page/pagefullscreen.h"
#include "app/page/pagelanguages.h"
#include "app/page/pagepermissions.h"
#include "app/window/windowplacement.h"
#include "bridge/object.h"
#include "settings/keptwindowstate.h"
#include "settings/startupsettings.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

ShellWindow::ShellWindow(const StartupSettings &startup, Object *bridge)
    : m_bridge(bridge)
    , m_profile(EngineCompat::windowProfile(this))
    , m_channel(new QWebChannel(this))
    , m_title(this, &m_view)
    , m_origins(startup.server, startup.trustedOrigins, startup.signInOrigins)
    , m_page(m_origins, m_profile, this)
    , m_findBar(&m_page)
    , m_pageDownloads(this, m_profile)
    , m_rendererRecovery(&m_page, startup.server, m_origins.trusted())
    , m_zoom(&m_page, KeptWindowState::zoomFactor())
    , m_printer(&m_view, &m_page)
    , m_closing(this, &m_page, &m_printer, bridge)
    , m_loadRetry(&m_view, &m_page, m_origins.trusted())
{
    layOut();
    setUpPage(startup);
    publishAndLoad(startup.server);
    showFailures();
    addKeys();
    connect(&m_closing, &WindowClosing::closing, this, &ShellWindow::keepAcrossStarts);
    m_view.setFocus();
}

void ShellWindow::layOut()
{
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(&m_messageBar);
    layout->addWidget(&m_view, 1);
    layout->addWidget(&m_findBar);
    setCentralWidget(central);
}

void ShellWindow::setUpPage(const StartupSettings &startup)
{
    if (startup.noContextMenu)
        m_view.setContextMenuPolicy(Qt::NoContextMenu);
    m_view.setPage(&m_page);
    const auto *permissions = new PagePermissions(&m_page, m_origins.trusted());
    new PageFullScreen(this, &m_page, *permissions);
    new DesktopNotifications(m_profile, this);
    PageLanguages::askIn(m_profile, startup.pageLanguages);
    // Its answers reach the page that is leaving, not the next one.
    connect(&m_page, &WebPage::leaving, m_bridge, &Object::abandonInstrumentCalls);
    // A zoom of the engine's Ctrl+wheel lives in the renderer alone.
    connect(&m_page, &WebPage::leaving, &m_zoom, &PageZoom::keepCurrentZoom);
    connect(&m_rendererRecovery, &RendererRecovery::reloadRequested, this,
            [this](const QUrl &address) { reload(false, address); });
}

void ShellWindow::publishAndLoad(const QUrl &server)
{
    m_channel->registerObject(QStringLiteral("vizEveDivuzaviz"), m_bridge);
    PageBridge::publish(&m_page, m_channel, m_origins.trusted());
    m_view.setUrl(server);
}

void ShellWindow::addKeys()
{
    addShortcut({QKeySequence::Print}, [this] { m_printer.print(); });
    addShortcut({Qt::CTRL | Qt::Key_Plus, Qt::CTRL | Qt::Key_Equal}, [this] { m_zoom.zoomIn(); });
    addShortcut({Qt::CTRL | Qt::Key_Minus}, [this] { m_zoom.zoomOut(); });
    addShortcut({Qt::CTRL | Qt::Key_0}, [this] { m_zoom.reset(); });
    addShortcut({Qt::Key_F5, Qt::CTRL | Qt::Key_R}, [this] { reload(false); });
    addShortcut(
            {Qt::CTRL | Qt::SHIFT | Qt::Key_R, Qt::CTRL | Qt::Key_F5}, [this] { reload(true); });
    addShortcut({QKeySequence::Back}, [this] { goThroughHistory(QWebEnginePage::Back); });
    addShortcut({QKeySequence::Forward}, [this] { goThroughHistory(QWebEnginePage::Forward); });
    addShortcut({QKeySequence::Find}, [this] { m_findBar.open(); });
    addShortcut({Qt::CTRL | Qt::Key_Q}, [this] { close(); });
    connect(&m_findBar, &FindBar::closed, this, [this] { m_view.setFocus(); });
}

void ShellWindow::goThroughHistory(QWebEnginePage::WebAction action)
{
    m_bridge->abandonInstrumentCalls(); // with Qt 5 the key arrives inside the waiting call
    m_page.triggerAction(action);
}

void ShellWindow::showMessage(const QString &text)
{
    m_messageBar.showMessage(text);
}

void ShellWindow::comeForward()
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void ShellWindow::showFailures()
{
    connect(m_bridge->reportDownloader(), &DownloadManager::failed, this,
            &ShellWindow::showMessage);
    connect(&m_pageDownloads, &PageDownloads::failed, this, &ShellWindow::showMessage);
    connect(&m_page, &WebPage::certificateRefused, this,
            [this](const QString &host, const QString &reason) {
                showMessage(tr("The certificate of %1 was refused: %2").arg(host, reason));
            });
    connect(&m_printer, &PagePrinter::failed, this,
            [this] { showMessage(tr("The page could not be printed.")); });
}

void ShellWindow::closeEvent(QCloseEvent *event)
{
    event->setAccepted(m_closing.mayClose());
}

void ShellWindow::closeWithoutQuestion()
{
    m_closing.closeWithoutQuestion();
}

void ShellWindow::keepAcrossStarts()
{
    // The waiting page stands in for the application's while the server
    // cannot be reached, whose page then shows the engine's error page.
    std::optional<qreal> zoom;
    if (m_view.page() == &m_page)
        zoom = m_zoom.factor();
    // A window maximised or minimised by hand keeps the place it had before.
    std::optional<QRect> geometry;
    if (m_keepsGeometry
            && !(windowState()
                    & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        geometry = QRect(pos(), size());
    KeptWindowState::keep(zoom, geometry);
}

void ShellWindow::present(bool maximized)
{
    m_keepsGeometry = !maximized;
    if (maximized) {
        showMaximized();
        return;
    }
    const QRect kept = KeptWindowState::geometry();
    if (kept.isValid()) {
        QList<QRect> screens;
        for (const QScreen *screen : QGuiApplication::screens())
            screens.append(screen->availableGeometry());
        const QRect placed = WindowPlacement::onScreens(kept, screens);
        // The place of the frame, the size of what it holds.
        move(placed.topLeft());
        resize(placed.size());
    }
    show();
}

// The keys work wherever the focus is in the window, and the page never
// sees them.
void ShellWindow::addShortcut(
        std::initializer_list<QKeySequence> keys, std::function<void()> action)
{
    auto *shortcut = new QAction(this);
    shortcut->setShortcuts(QList<QKeySequence>(keys));
    connect(shortcut, &QAction::triggered, this, std::move(action));
    addAction(shortcut);
}

void ShellWindow::reload(bool bypassCache, const QUrl &address)
{
    // A wait for the instrument's button ends before the page goes: with
    // Qt 5 the key arrives inside the waiting call, and the engine starts
    // the reload only once that call has returned.
    m_bridge->abandonInstrumentCalls();
    // The window's page holds the engine's error page meanwhile, which
    // would not send a form again.
    if (m_loadRetry.isWaiting())
        m_loadRetry.retry();
    else if (!address.isEmpty())
        m_page.setUrl(address);
    else
        m_page.triggerAction(
                bypassCache ? QWebEnginePage::ReloadAndBypassCache : QWebEnginePage::Reload);
}

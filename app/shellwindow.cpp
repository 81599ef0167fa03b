#include "shellwindow.h"

#include "object.h"
#include "pagelanguages.h"
#include "settingsstore.h"
#include "startupsettings.h"
#include "windowplacement.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

namespace {

const QString zoomKey = QStringLiteral("ZoomFactor");
const QString geometryKey = QStringLiteral("WindowGeometry");

// What the window keeps across starts, in a file of its own beside the
// settings store: the page may write any key there, a group ("a/b") too.
SettingsStore keptAcrossStarts()
{
    SettingsStore state(QStringLiteral("VantrelNut"));
    state->setFallbacksEnabled(false);
    return state;
}

} // namespace

ShellWindow::ShellWindow(const StartupSettings &startup, Object *bridge)
    : m_bridge(bridge)
    , m_title(&m_view)
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    , m_persistentProfile(QStringLiteral("Default"))
#endif
    , m_trustedOrigins(startup.server, startup.trustedOrigins)
    , m_page(m_trustedOrigins, profile())
    , m_pageDownloads(&m_view, profile())
    // After a renderer crash the page shown is loaded again when it is trusted.
    , m_rendererRecovery(&m_page, startup.server,
              [this](const QUrl &shown) { return m_trustedOrigins.isTrusted(shown); })
    , m_zoom(&m_page, keptAcrossStarts()->value(zoomKey, 1.0).toReal())
    , m_printer(&m_view, &m_page)
    // Only the web application's own addresses are tried again.
    , m_loadRetry(&m_view, &m_page,
              [this](const QUrl &failed) { return m_trustedOrigins.isTrusted(failed); })
{
    if (startup.noContextMenu)
        m_view.setContextMenuPolicy(Qt::NoContextMenu);
    m_view.setPage(&m_page);
    PageLanguages::askIn(profile(), startup.pageLanguages);
    // Its answers reach the page that is leaving, not the next one.
    QObject::connect(&m_page, &WebPage::leaving, bridge, &Object::abandonInstrumentCalls);
    // A zoom of the engine's Ctrl+wheel lives in the renderer alone.
    QObject::connect(&m_page, &WebPage::leaving, &m_zoom, &PageZoom::keepCurrentZoom);
    // Attached before the page loads, so the page's script finds the object.
    m_channel.registerObject(QStringLiteral("vizEveDivuzaviz"), bridge);
    m_page.setWebChannel(&m_channel);
    m_view.setUrl(startup.server);
    m_view.installEventFilter(this);

    connect(&m_printer, &PagePrinter::finished, this, [this] {
        if (m_closeWhenPrinted)
            m_view.close();
    });
    connect(&m_rendererRecovery, &RendererRecovery::reloadRequested, this,
            [this](const QUrl &address) { reload(false, address); });
    addShortcut({QKeySequence::Print}, [this] { m_printer.print(); });
    addShortcut({Qt::CTRL | Qt::Key_Plus, Qt::CTRL | Qt::Key_Equal}, [this] { m_zoom.zoomIn(); });
    addShortcut({Qt::CTRL | Qt::Key_Minus}, [this] { m_zoom.zoomOut(); });
    addShortcut({Qt::CTRL | Qt::Key_0}, [this] { m_zoom.reset(); });
    addShortcut({Qt::Key_F5, Qt::CTRL | Qt::Key_R}, [this] { reload(false); });
    addShortcut(
            {Qt::CTRL | Qt::SHIFT | Qt::Key_R, Qt::CTRL | Qt::Key_F5}, [this] { reload(true); });
}

// A page hidden while the engine prints it stalls the print (Qt 5) or ends
// the process (Qt 6), so the window closes once the print is done. What it
// keeps is kept before it hides: a hidden page reads as not zoomed.
bool ShellWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_view && event->type() == QEvent::Close) {
        if (m_printer.isPrinting()) {
            // With Qt 5 the engine prints only once a call waiting for the
            // instrument's button has returned.
            m_bridge->abandonInstrumentCalls();
            m_closeWhenPrinted = true;
            event->ignore();
            return true;
        }
        const SettingsStore state = keptAcrossStarts();
        // The waiting page stands in for the application's while the server
        // cannot be reached, whose page then shows the engine's error page.
        if (m_view.page() == &m_page)
            state->setValue(zoomKey, m_zoom.factor());
        // A window maximised or minimised by hand keeps the place it had before.
        if (m_keepsGeometry
                && !(m_view.windowState()
                        & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
            state->setValue(geometryKey, QRect(m_view.pos(), m_view.size()));
    }
    return false;
}

void ShellWindow::show(bool maximized)
{
    m_keepsGeometry = !maximized;
    if (maximized) {
        m_view.showMaximized();
        return;
    }
    const QRect kept = keptAcrossStarts()->value(geometryKey).toRect();
    if (kept.isValid()) {
        QList<QRect> screens;
        for (const QScreen *screen : QGuiApplication::screens())
            screens.append(screen->availableGeometry());
        const QRect placed = placeOnScreens(kept, screens);
        // The place of the frame, the size of what it holds.
        m_view.move(placed.topLeft());
        m_view.resize(placed.size());
    }
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

// The keys work wherever the focus is in the window, and the page never
// sees them.
void ShellWindow::addShortcut(
        std::initializer_list<QKeySequence> keys, std::function<void()> action)
{
    auto *shortcut = new QAction(&m_view);
    shortcut->setShortcuts(QList<QKeySequence>(keys));
    connect(shortcut, &QAction::triggered, this, std::move(action));
    m_view.addAction(shortcut);
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

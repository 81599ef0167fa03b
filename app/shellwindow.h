#ifndef SHELLWINDOW_H
#define SHELLWINDOW_H

#include "loadretry.h"
#include "pagedownloads.h"
#include "pageprinter.h"
#include "pagezoom.h"
#include "rendererrecovery.h"
#include "trustedorigins.h"
#include "webpage.h"
#include "windowtitle.h"

#include <QKeySequence>
#include <QWebChannel>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <functional>
#include <initializer_list>

class Object;
struct StartupSettings;

// The application's one window: a web view on the web application's page,
// with the bridge published to the pages it trusts, the page's own downloads,
// a reload when the renderer dies, retries while the server cannot be
// reached, and a browser's keys for printing, zooming and reloading. The
// instrument calls of a page that goes away end with it. The page's zoom and
// the size and place of a window not maximised are kept across starts. Made
// once the application object exists.
class ShellWindow : public QObject
{
    Q_OBJECT

public:
    ShellWindow(const StartupSettings &startup, Object *bridge);

    // Shown only once the page is set up: a view shown (or even given a
    // window state) before may never be mapped on screen.
    void show(bool maximized);

    QWidget *widget() { return &m_view; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWebEngineProfile *profile();
    void addShortcut(std::initializer_list<QKeySequence> keys, std::function<void()> action);

    // Every reload the window makes goes through here, by key and after a
    // renderer crash: address, or the page shown when it is empty (bypassing
    // the browser's cache when asked).
    void reload(bool bypassCache, const QUrl &address = QUrl());

    Object *const m_bridge;
    // In this order: the page goes before the channel it uses and the
    // profile it lives in.
    QWebEngineView m_view;
    WindowTitle m_title;
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    QWebEngineProfile m_persistentProfile;
#endif
    const TrustedOrigins m_trustedOrigins;
    QWebChannel m_channel;
    WebPage m_page;
    PageDownloads m_pageDownloads;
    RendererRecovery m_rendererRecovery;
    PageZoom m_zoom;
    PagePrinter m_printer;
    bool m_keepsGeometry = false;
    bool m_closeWhenPrinted = false;
    LoadRetry m_loadRetry;
};

#endif // SHELLWINDOW_H

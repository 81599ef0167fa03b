#ifndef SHELLWINDOW_H
#define SHELLWINDOW_H

#include "app/page/pagedownloads.h"
#include "app/page/pageprinter.h"
#include "app/page/pagezoom.h"
#include "app/page/webpage.h"
#include "app/recovery/loadretry.h"
#include "app/recovery/rendererrecovery.h"
#include "app/trust/pageorigins.h"
#include "app/window/findbar.h"
#include "app/window/messagebar.h"
#include "app/window/windowclosing.h"
#include "app/window/windowtitle.h"

#include <QKeySequence>
#include <QMainWindow>
#include <QWebChannel>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <functional>
#include <initializer_list>

class Object;
struct StartupSettings;

// The application's one window: the web application's page, with the bridge
// published to the documents it trusts, and a message bar above it for what
// went wrong. Made once the application object exists.
class ShellWindow : public QMainWindow
{
    Q_OBJECT

public:
    ShellWindow(const StartupSettings &startup, Object *bridge);

    // Shown only once the page is set up: a view shown (or even given a
    // window state) before may never be mapped on screen.
    void present(bool maximized);

    // The session ends or the system ends the process: the window closes
    // without asking the page.
    void closeWithoutQuestion();

    void showMessage(const QString &text);
    // A later start asked for the window: un-minimised, raised and focused.
    void comeForward();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // The message bar above the page, the find bar below it.
    void layOut();
    // What the page may ask of the window, and what happens as it goes.
    void setUpPage(const StartupSettings &startup);
    // Before the page loads, so the page's script finds the object.
    void publishAndLoad(const QUrl &server);
    void showFailures();
    void addKeys();
    void addShortcut(std::initializer_list<QKeySequence> keys, std::function<void()> action);

    // Every reload the window makes goes through here, by key and after a
    // renderer crash: address, or the page shown when it is empty (bypassing
    // the browser's cache when asked).
    void reload(bool bypassCache, const QUrl &address = QUrl());
    // Back and forward through the page's history, as every navigation the
    // window makes: a wait for the button ends first.
    void goThroughHistory(QWebEnginePage::WebAction action);
    void keepAcrossStarts();

    Object *const m_bridge;
    // Children of the window, so they go after the pages, which are members:
    // the profile where it is the window's own, and the channel.
    QWebEngineProfile *const m_profile;
    QWebChannel *const m_channel;
    MessageBar m_messageBar;
    QWebEngineView m_view;
    WindowTitle m_title;
    const PageOrigins m_origins;
    WebPage m_page;
    FindBar m_findBar;
    PageDownloads m_pageDownloads;
    RendererRecovery m_rendererRecovery;
    PageZoom m_zoom;
    PagePrinter m_printer;
    WindowClosing m_closing;
    bool m_keepsGeometry = false; // shown not maximised at start
    LoadRetry m_loadRetry;
};

#endif // SHELLWINDOW_H

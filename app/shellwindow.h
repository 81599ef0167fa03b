#ifndef SHELLWINDOW_H
#define SHELLWINDOW_H

#include "loadretry.h"
#include "pagedownloads.h"
#include "rendererrecovery.h"
#include "trustedorigins.h"
#include "webpage.h"
#include "windowtitle.h"

#include <QWebChannel>
#include <QWebEngineProfile>
#include <QWebEngineView>

struct StartupSettings;

// The application's one window: a web view on the web application's page,
// with the bridge published to the pages it trusts, the page's own downloads,
// a reload when the renderer dies and tries again while the server cannot be
// reached. Made once the application object exists.
class ShellWindow
{
public:
    ShellWindow(const StartupSettings &startup, QObject *bridge);

    // Shown only once the page is set up: a view shown (or even given a
    // window state) before may never be mapped on screen.
    void show(bool maximized);

    QWidget *widget() { return &m_view; }

private:
    QWebEngineProfile *profile();

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
    LoadRetry m_loadRetry;
};

#endif // SHELLWINDOW_H

#ifndef SHELLWINDOW_H
#define SHELLWINDOW_H

#include "pagedownloads.h"
#include "rendererrecovery.h"
#include "trustedorigins.h"
#include "webpage.h"
#include "windowtitle.h"

#include <QWebChannel>
#include <QWebEngineProfile>
#include <QWebEngineView>

class Object;
struct StartupSettings;

// The application's one window: a web view on the web application's page,
// with the bridge published to the pages it trusts, the page's own downloads
// and a reload when the renderer dies. The instrument calls of a page that
// goes away end with it. Made once the application object exists.
class ShellWindow
{
public:
    ShellWindow(const StartupSettings &startup, Object *bridge);

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
};

#endif // SHELLWINDOW_H

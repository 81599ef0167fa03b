#ifndef PAGEFULLSCREEN_H
#define PAGEFULLSCREEN_H

#include <QObject>

class PagePermissions;
class QAction;
class QWebEngineFullScreenRequest;
class QWebEnginePage;
class QWidget;

// Full screen for an element of the web application's own page (a chart, a
// video), which fills the window made full screen; F11 and Escape leave it,
// and the window comes back as it was. Whose page may is the permissions'
// to say.
class PageFullScreen : public QObject
{
    Q_OBJECT

public:
    PageFullScreen(QWidget *window, QWebEnginePage *page, const PagePermissions &permissions);

private:
    void requested(QWebEngineFullScreenRequest request);

    QWidget *const m_window;
    QWebEnginePage *const m_page;
    const PagePermissions &m_permissions;
    // Taken only while full screen, so Escape and F11 reach the page otherwise.
    QAction *const m_leave;
    Qt::WindowStates m_stateBefore;
};

#endif // PAGEFULLSCREEN_H

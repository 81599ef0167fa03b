#include "app/page/pagefullscreen.h"

#include "app/page/pagepermissions.h"

#include <QAction>
#include <QWebEngineFullScreenRequest>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWidget>

PageFullScreen::PageFullScreen(
        QWidget *window, QWebEnginePage *page, const PagePermissions &permissions)
    : QObject(window)
    , m_window(window)
    , m_page(page)
    , m_permissions(permissions)
    , m_leave(new QAction(window))
{
    page->settings()->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, true);
    connect(page, &QWebEnginePage::fullScreenRequested, this, &PageFullScreen::requested);
    m_leave->setShortcuts({Qt::Key_F11, Qt::Key_Escape});
    m_leave->setEnabled(false);
    connect(m_leave, &QAction::triggered, page,
            [page] { page->triggerAction(QWebEnginePage::ExitFullScreen); });
    window->addAction(m_leave);
}

void PageFullScreen::requested(QWebEngineFullScreenRequest request)
{
    if (request.toggleOn() && !m_permissions.grantsFullScreen(request.origin())) {
        request.reject();
        return;
    }
    request.accept();
    if (request.toggleOn() == m_leave->isEnabled())
        return;
    m_leave->setEnabled(request.toggleOn());
    if (request.toggleOn()) {
        m_stateBefore = m_window->windowState();
        m_window->setWindowState(m_stateBefore | Qt::WindowFullScreen);
    } else {
        m_window->setWindowState(m_stateBefore & ~Qt::WindowFullScreen);
    }
}

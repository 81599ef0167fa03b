#include "app/window/windowtitle.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

WindowTitle::WindowTitle(QWidget *window, QWebEngineView *view)
    : m_window(window)
    , m_view(view)
{
    // The view's signal, not its page's: it follows a page set later.
    connect(view, &QWebEngineView::titleChanged, this, &WindowTitle::pageTitleChanged);
}

// The engine reports a page without a title under a name made from its
// address (the host and path, or a local file's name), which cannot be told
// from a real title; the document itself can, read in a world of our own
// that the page's scripts cannot reach.
void WindowTitle::pageTitleChanged()
{
    const QPointer<WindowTitle> self(this);
    m_view->page()->runJavaScript(QStringLiteral("document.title"),
            QWebEngineScript::ApplicationWorld, [self](const QVariant &title) {
                // Named here rather than left to Qt's fallback for an empty title.
                if (self)
                    self->m_window->setWindowTitle(title.toString().isEmpty()
                                    ? QCoreApplication::applicationName()
                                    : title.toString());
            });
}

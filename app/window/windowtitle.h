#ifndef WINDOWTITLE_H
#define WINDOWTITLE_H

#include <QObject>

class QWebEngineView;
class QWidget;

// Keeps the window's title at the page's own title, as browsers show it in
// the title bar and task bar, and at the application's name while the page
// has none.
class WindowTitle : public QObject
{
    Q_OBJECT

public:
    WindowTitle(QWidget *window, QWebEngineView *view);

private:
    void pageTitleChanged();

    QWidget *const m_window;
    QWebEngineView *const m_view;
};

#endif // WINDOWTITLE_H

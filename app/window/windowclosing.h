#ifndef WINDOWCLOSING_H
#define WINDOWCLOSING_H

#include <QObject>

class Object;
class PagePrinter;
class QWidget;
class WebPage;

// When the window may close. Not while the engine prints the page: a page
// hidden meanwhile stalls the print (Qt 5) or ends the process (Qt 6), so the
// window closes once the print is done. Otherwise the page is asked first,
// as a browser asks it: its beforeunload handler may have the person stay.
// Nothing is asked when the session or the system ends the application, nor
// while an instrument call waits: Qt 5's engine could run the page's handler
// only once the waiting call has returned, and the calls the page queued
// behind it would still reach the instrument.
class WindowClosing : public QObject
{
    Q_OBJECT

public:
    WindowClosing(QWidget *window, WebPage *page, const PagePrinter *printer, Object *bridge);

    // The window's close event: true when the window may close now; else
    // it closes by itself once the print is done or the page lets go.
    bool mayClose();

    // The session ends or the system ends the process: the window closes
    // without asking the page.
    void closeWithoutQuestion();

signals:
    // The window closes, or asks its page first: what it keeps across
    // starts is taken now, while the page shows as the person left it (a
    // page the engine has let go reads as not zoomed).
    void closing();

private:
    enum class Stage {
        Open,
        PageAsked, // the page's beforeunload handler runs
        PageLetGo, // the page was asked and let go
        Unasked, // the window closes without asking the page
    };

    void askPage();
    void pageLetGo();
    void pageStayed();
    void printFinished();

    QWidget *const m_window;
    WebPage *const m_page;
    const PagePrinter *const m_printer;
    Object *const m_bridge;
    Stage m_stage = Stage::Open;
    bool m_closeWhenPrinted = false;
};

#endif // WINDOWCLOSING_H

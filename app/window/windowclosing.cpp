#include "app/window/windowclosing.h"

#include "app/page/pageprinter.h"
#include "app/page/webpage.h"
#include "bridge/object.h"

#include <QWidget>

WindowClosing::WindowClosing(
        QWidget *window, WebPage *page, const PagePrinter *printer, Object *bridge)
    : m_window(window)
    , m_page(page)
    , m_printer(printer)
    , m_bridge(bridge)
{
    connect(page, &QWebEnginePage::windowCloseRequested, this, &WindowClosing::pageLetGo);
    connect(page, &WebPage::stayed, this, &WindowClosing::pageStayed);
    connect(printer, &PagePrinter::finished, this, &WindowClosing::printFinished);
}

bool WindowClosing::mayClose()
{
    if (m_printer->isPrinting()) {
        // With Qt 5 the engine prints only once a call waiting for the
        // instrument's button has returned.
        m_bridge->abandonInstrumentCalls();
        m_closeWhenPrinted = true;
        return false;
    }
    const bool pageHeld = m_stage == Stage::Open || m_stage == Stage::PageAsked;
    if (pageHeld && !m_bridge->instrumentBusy()) {
        emit closing();
        askPage();
        return false;
    }
    if (m_stage == Stage::Open || m_stage == Stage::Unasked)
        emit closing(); // closed without asking the page
    return true;
}

void WindowClosing::closeWithoutQuestion()
{
    if (m_stage == Stage::Open)
        m_stage = Stage::Unasked;
    else if (m_stage == Stage::PageAsked)
        m_stage = Stage::PageLetGo;
}

// The engine lets the page go once its beforeunload handler is done.
void WindowClosing::askPage()
{
    if (m_stage == Stage::PageAsked)
        return; // asked already
    m_stage = Stage::PageAsked;
    m_page->triggerAction(QWebEnginePage::RequestClose);
}

void WindowClosing::pageLetGo()
{
    if (m_stage != Stage::PageAsked && m_stage != Stage::PageLetGo)
        return; // the page's window.close() closes nothing
    m_stage = Stage::PageLetGo;
    m_window->close();
}

// The person chose to stay: the next close asks again.
void WindowClosing::pageStayed()
{
    if (m_stage == Stage::PageAsked)
        m_stage = Stage::Open;
    else if (m_stage == Stage::PageLetGo)
        m_stage = Stage::Unasked;
}

void WindowClosing::printFinished()
{
    if (m_closeWhenPrinted)
        m_window->close();
}

#ifndef PAGEPRINTER_H
#define PAGEPRINTER_H

#include <QObject>
#include <QPointer>
#include <QPrinter>

class QPrintDialog;
class QWebEnginePage;
class QWebEngineView;

// Prints the page as the engine lays it out for paper, so its print style
// sheet applies, once the system's print dialog has been answered: on a
// printer, or into a PDF file that keeps the page's text. One print at a
// time, from the dialog on until the engine is done with the printer, which
// it paints on from a thread of its own.
class PagePrinter : public QObject
{
    Q_OBJECT

public:
    PagePrinter(QWebEngineView *view, QWebEnginePage *page);
    ~PagePrinter() override;

    // The dialog, then the print; ignored while another print is under way.
    void print();
    bool isPrinting() const { return m_printing; }

signals:
    void finished();
    void failed();

private:
    void dialogFinished(int result);
    void printFinished(bool success);

    QWebEngineView *const m_view;
    QWebEnginePage *const m_page;
    // Kept, so that the dialog offers the choices of the last print.
    QPrinter m_printer;
    QPointer<QPrintDialog> m_dialog;
    bool m_printing = false;
};

#endif // PAGEPRINTER_H

#include "pageprinter.h"

#include <QDebug>
#include <QPrintDialog>
#include <QWebEnginePage>
#include <QWebEngineView>

PagePrinter::PagePrinter(QWebEngineView *view, QWebEnginePage *page)
    : m_view(view)
    , m_page(page)
{
    connect(page, &QWebEnginePage::pdfPrintingFinished, this,
            [this](const QString &, bool success) { printFinished(success); });
    // Qt 6 moved the page's print request and printing on a printer to the view.
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    connect(view, &QWebEngineView::printRequested, this, &PagePrinter::print);
    connect(view, &QWebEngineView::printFinished, this, &PagePrinter::printFinished);
#else
    connect(page, &QWebEnginePage::printRequested, this, &PagePrinter::print);
#endif
}

// The dialog points at the printer.
PagePrinter::~PagePrinter()
{
    delete m_dialog;
}

void PagePrinter::print()
{
    if (m_printing) {
        qDebug() << "Print request ignored: another print is under way";
        return;
    }
    m_printing = true;
    // The default file name of a PDF, and the job's name on a printer.
    m_printer.setDocName(m_page->title());
    m_dialog = new QPrintDialog(&m_printer, m_view);
    m_dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_dialog, &QDialog::finished, this, &PagePrinter::dialogFinished);
    // Not exec(): the request comes from inside the engine, which must not
    // wait in a nested event loop for the person to answer.
    m_dialog->open();
}

// Printing a PDF through the printer would paint the engine's pages as
// pictures; the engine writes one of its own that keeps the text.
void PagePrinter::dialogFinished(int result)
{
    if (result != QDialog::Accepted) {
        printFinished(true); // nothing to print, nothing failed
        return;
    }
    const bool toFile = m_printer.outputFormat() == QPrinter::PdfFormat
            && !m_printer.outputFileName().isEmpty();
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    if (toFile)
        m_page->printToPdf(
                m_printer.outputFileName(), m_printer.pageLayout(), m_printer.pageRanges());
    else
        m_view->print(&m_printer);
#else
    if (toFile) {
        m_page->printToPdf(m_printer.outputFileName(), m_printer.pageLayout());
    } else {
        const QPointer<PagePrinter> self(this);
        m_page->print(&m_printer, [self](bool success) {
            if (self)
                self->printFinished(success);
        });
    }
#endif
}

void PagePrinter::printFinished(bool success)
{
    if (!success)
        qDebug() << "Printing failed";
    m_printing = false;
    if (!success)
        emit failed();
    emit finished();
}

#include "app/page/pageprinter.h"

#include "app/engine/enginecompat.h"

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
    EngineCompat::onPrintRequested(view, page, this, [this] { print(); });
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
    if (toFile)
        EngineCompat::printToPdf(m_page, m_printer);
    else
        EngineCompat::printOnPrinter(m_view, m_page, &m_printer, this,
                [this](bool success) { printFinished(success); });
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

#include "app/engine/enginecompat.h"

#include <QPointer>
#include <QPrinter>
#include <QWebEngineCertificateError>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <QtWebEngineCore/qtwebenginecoreglobal.h>

// Qt 6 asks with a signal, answered by the error itself.
EnginePage::EnginePage(QWebEngineProfile *profile, QObject *parent)
    : QWebEnginePage(profile, parent)
{
    connect(this, &QWebEnginePage::certificateError, this,
            [this](QWebEngineCertificateError error) {
                if (acceptsCertificate(error))
                    error.acceptCertificate();
                else
                    error.rejectCertificate();
            });
}

namespace EngineCompat {

QString versionLine()
{
    return QStringLiteral("Qt %1, QtWebEngine %2, Chromium %3 (security fixes up to %4)")
            .arg(QString::fromLatin1(qVersion()), QString::fromLatin1(qWebEngineVersion()),
                    QString::fromLatin1(qWebEngineChromiumVersion()),
                    QString::fromLatin1(qWebEngineChromiumSecurityPatchVersion()));
}

// Qt 6's default profile keeps nothing on disk; one named as Qt 5's default
// one keeps it where Qt 5 kept it, so the page finds what it stored across
// starts and upgrades. A child of the window, it goes after the window's
// pages, which are its members.
QWebEngineProfile *windowProfile(QObject *window)
{
    return new QWebEngineProfile(QStringLiteral("Default"), window);
}

bool onlyAuthorityUnknown(const QWebEngineCertificateError &error)
{
    return error.type() == QWebEngineCertificateError::CertificateAuthorityInvalid;
}

QString certificateProblem(const QWebEngineCertificateError &error)
{
    return error.description();
}

// Qt 6 moved the page's print request and printing on a printer to the view.
void onPrintRequested(
        QWebEngineView *view, QWebEnginePage *, QObject *context, std::function<void()> print)
{
    QObject::connect(view, &QWebEngineView::printRequested, context, std::move(print));
}

void printOnPrinter(QWebEngineView *view, QWebEnginePage *, QPrinter *printer, QObject *context,
        std::function<void(bool)> finished)
{
    // One print at a time: the connection ends with the print it waits for.
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(
            view, &QWebEngineView::printFinished, context, [connection, finished](bool success) {
                QObject::disconnect(*connection);
                finished(success);
            });
    view->print(printer);
}

void printToPdf(QWebEnginePage *page, const QPrinter &printer)
{
    page->printToPdf(printer.outputFileName(), printer.pageLayout(), printer.pageRanges());
}

} // namespace EngineCompat

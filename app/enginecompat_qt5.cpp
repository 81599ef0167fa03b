#include "enginecompat.h"

#include "webpage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QPrinter>
#include <QWebEngineCertificateError>
#include <QWebEnginePage>
#include <QWebEngineProfile>

namespace EngineCompat {

const char *setHighDpiScaling(bool enabled)
{
    if (enabled)
        QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
    return nullptr;
}

QString qtTranslationsFolder()
{
    return QLibraryInfo::location(QLibraryInfo::TranslationsPath);
}

QWebEngineProfile *windowProfile(QObject *)
{
    return QWebEngineProfile::defaultProfile();
}

void answerCertificateErrors(
        QWebEnginePage *, std::function<bool(const QWebEngineCertificateError &)>)
{
}

bool onlyAuthorityUnknown(const QWebEngineCertificateError &error)
{
    return error.error() == QWebEngineCertificateError::CertificateAuthorityInvalid;
}

QString certificateProblem(const QWebEngineCertificateError &error)
{
    return error.errorDescription();
}

void whenNetworkReachable(QObject *, std::function<void()>) { }

void onPrintRequested(
        QWebEngineView *, QWebEnginePage *page, QObject *context, std::function<void()> print)
{
    QObject::connect(page, &QWebEnginePage::printRequested, context, std::move(print));
}

void printOnPrinter(QWebEngineView *, QWebEnginePage *page, QPrinter *printer, QObject *context,
        std::function<void(bool)> finished)
{
    const QPointer<QObject> alive(context);
    page->print(printer, [alive, finished](bool success) {
        if (alive)
            finished(success);
    });
}

void printToPdf(QWebEnginePage *page, const QPrinter &printer)
{
    page->printToPdf(printer.outputFileName(), printer.pageLayout());
}

} // namespace EngineCompat

bool WebPage::certificateError(const QWebEngineCertificateError &error)
{
    return acceptsCertificate(error);
}

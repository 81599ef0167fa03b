#include "app/engine/enginecompat.h"

#include <QPointer>
#include <QPrinter>
#include <QWebEngineCertificateError>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QtWebEngineCore/qtwebenginecoreversion.h>

EnginePage::EnginePage(QWebEngineProfile *profile, QObject *parent)
    : QWebEnginePage(profile, parent)
{
}

bool EnginePage::certificateError(const QWebEngineCertificateError &error)
{
    return acceptsCertificate(error);
}

namespace EngineCompat {

// Qt 5's engine has no call that names its version or its Chromium: both
// are the library's the build linked (CHROMIUM_VERSION read from its user
// agent by CMake).
QString versionLine()
{
    return QStringLiteral("Qt %1, QtWebEngine %2, Chromium %3")
            .arg(QString::fromLatin1(qVersion()), QStringLiteral(QTWEBENGINECORE_VERSION_STR),
                    QStringLiteral(CHROMIUM_VERSION));
}

QWebEngineProfile *windowProfile(QObject *)
{
    return QWebEngineProfile::defaultProfile();
}

bool onlyAuthorityUnknown(const QWebEngineCertificateError &error)
{
    return error.error() == QWebEngineCertificateError::CertificateAuthorityInvalid;
}

QString certificateProblem(const QWebEngineCertificateError &error)
{
    return error.errorDescription();
}

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

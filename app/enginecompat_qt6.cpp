#include "enginecompat.h"

#include <QGuiApplication>
#include <QLibraryInfo>
#include <QNetworkInformation>
#include <QPointer>
#include <QPrinter>
#include <QWebEngineCertificateError>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace EngineCompat {

// Qt 6 always scales unless its environment variable says otherwise, and by
// the screen's exact factor; Qt 5 scaled only when asked, by whole factors.
// A person's own setting of either variable still wins.
const char *setHighDpiScaling(bool enabled)
{
    if (!qEnvironmentVariableIsSet("QT_SCALE_FACTOR_ROUNDING_POLICY"))
        QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
                Qt::HighDpiScaleFactorRoundingPolicy::Round);
    if (!enabled && !qEnvironmentVariableIsSet("QT_ENABLE_HIGHDPI_SCALING")) {
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
        return "QT_ENABLE_HIGHDPI_SCALING";
    }
    return nullptr;
}

QString qtTranslationsFolder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

// Qt 6's default profile keeps nothing on disk; one named as Qt 5's default
// one keeps it where Qt 5 kept it, so the page finds what it stored across
// starts and upgrades. A child of the window, it goes after the window's
// pages, which are its members.
QWebEngineProfile *windowProfile(QObject *window)
{
    return new QWebEngineProfile(QStringLiteral("Default"), window);
}

void answerCertificateErrors(
        QWebEnginePage *page, std::function<bool(const QWebEngineCertificateError &)> accepts)
{
    QObject::connect(page, &QWebEnginePage::certificateError, page,
            [accepts](QWebEngineCertificateError error) {
                if (accepts(error))
                    error.acceptCertificate();
                else
                    error.rejectCertificate();
            });
}

bool onlyAuthorityUnknown(const QWebEngineCertificateError &error)
{
    return error.type() == QWebEngineCertificateError::CertificateAuthorityInvalid;
}

QString certificateProblem(const QWebEngineCertificateError &error)
{
    return error.description();
}

void whenNetworkReachable(QObject *context, std::function<void()> reachable)
{
    if (!QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
        return; // no backend answers: the countdown alone tries again
    QObject::connect(QNetworkInformation::instance(), &QNetworkInformation::reachabilityChanged,
            context, [reachable](QNetworkInformation::Reachability reachability) {
                if (reachability > QNetworkInformation::Reachability::Disconnected)
                    reachable();
            });
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

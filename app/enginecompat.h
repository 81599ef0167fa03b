#ifndef ENGINECOMPAT_H
#define ENGINECOMPAT_H

// What differs between Qt 5's and Qt 6's application and browser engine, in
// one place: Qt 6 moved or renamed these. The functions are defined in
// enginecompat_qt5.cpp and enginecompat_qt6.cpp, of which CMake builds the
// one for the Qt in use.

#include <QtGlobal>

#include <functional>

class QObject;
class QPrinter;
class QString;
class QWebEngineCertificateError;
class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QWebEngineDownloadRequest>
using PageDownload = QWebEngineDownloadRequest;
// Qt 6 asks about a certificate with a signal, answered by the error itself.
#define WEBPAGE_CERTIFICATE_ERROR_OVERRIDE
#else
#include <QWebEngineDownloadItem>
using PageDownload = QWebEngineDownloadItem;
// Qt 5 asks through a virtual function and takes its answer.
#define WEBPAGE_CERTIFICATE_ERROR_OVERRIDE                                                         \
    bool certificateError(const QWebEngineCertificateError &error) override;
#endif

namespace EngineCompat {

// Before the application object exists: Qt honours high-DPI scaling only
// then. Returns the environment variable set for the application object
// alone, to be removed once it exists, or null.
const char *setHighDpiScaling(bool enabled);

// Qt's own translations (qtbase_de.qm, ...).
QString qtTranslationsFolder();

// The profile of the window's pages, keeping cookies, local storage and
// cache on disk where Qt 5's default profile kept them.
QWebEngineProfile *windowProfile(QObject *window);

// Qt 6: asks accepts() about each certificate error of page and gives the
// answer. Qt 5 asks the page's certificateError() instead.
void answerCertificateErrors(
        QWebEnginePage *page, std::function<bool(const QWebEngineCertificateError &)> accepts);
// The engine found nothing wrong but the unknown authority.
bool onlyAuthorityUnknown(const QWebEngineCertificateError &error);
QString certificateProblem(const QWebEngineCertificateError &error);

// Qt 6: calls reachable when the system reports the network reachable again
// (GLib's network monitor or NetworkManager on Debian). Qt 5 could tell only
// by polling the network interfaces, which the downloader was freed from.
void whenNetworkReachable(QObject *context, std::function<void()> reachable);

// The page's print request (window.print()) calls print.
void onPrintRequested(
        QWebEngineView *view, QWebEnginePage *page, QObject *context, std::function<void()> print);
// Prints on a printer; finished(success) once the engine is done with it.
void printOnPrinter(QWebEngineView *view, QWebEnginePage *page, QPrinter *printer, QObject *context,
        std::function<void(bool)> finished);
// The engine's own PDF, as the printer's settings ask (Qt 5 prints every page).
void printToPdf(QWebEnginePage *page, const QPrinter &printer);

} // namespace EngineCompat

#endif // ENGINECOMPAT_H

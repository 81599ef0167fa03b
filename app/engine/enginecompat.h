#ifndef ENGINECOMPAT_H
#define ENGINECOMPAT_H

// What differs between Qt 5's and Qt 6's browser engine, in one place: Qt 6
// moved or renamed these. The definitions are in enginecompat_qt5.cpp and
// enginecompat_qt6.cpp, of which CMake builds the one for the Qt in use.

#include <QWebEnginePage>

#include <functional>

class QPrinter;
class QWebEngineCertificateError;
class QWebEngineView;

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QWebEngineDownloadRequest>
using PageDownload = QWebEngineDownloadRequest;
#else
#include <QWebEngineDownloadItem>
using PageDownload = QWebEngineDownloadItem;
#endif

// A page that is asked about each certificate error the engine finds, the
// same way on every Qt: Qt 5 asks through a virtual function, Qt 6 with a
// signal answered by the error itself.
class EnginePage : public QWebEnginePage
{
public:
    EnginePage(QWebEngineProfile *profile, QObject *parent = nullptr);

protected:
    // Whether to load despite the certificate error.
    virtual bool acceptsCertificate(const QWebEngineCertificateError &error) = 0;

#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    bool certificateError(const QWebEngineCertificateError &error) override;
#endif
};

namespace EngineCompat {

// The Qt and the browser engine the program runs on, in one line for
// --version and the log for support: "Qt 6.8.2, QtWebEngine 6.8.2, Chromium
// 122.0.6261.171 (security fixes up to 132.0.6834.111)". Needs no
// application object.
QString versionLine();

// The profile of the window's pages, keeping cookies, local storage and
// cache on disk where Qt 5's default profile kept them.
QWebEngineProfile *windowProfile(QObject *window);

// The engine found nothing wrong but the unknown authority.
bool onlyAuthorityUnknown(const QWebEngineCertificateError &error);
QString certificateProblem(const QWebEngineCertificateError &error);

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

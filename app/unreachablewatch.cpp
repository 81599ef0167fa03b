#include "unreachablewatch.h"

#include "logcategories.h"

#include <QCoreApplication>
#include <QHash>
#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineScript>

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QWebEngineLoadingInfo>
#endif

namespace {

// Failures before the server's answer, and a gateway's answers that say the
// web application behind it is away. Standard error has the reasons as
// written; the page shows them translated.
const QHash<QString, QString> reasons = {
        {"ERR_CONNECTION_REFUSED",
                QT_TRANSLATE_NOOP("UnreachableWatch", "the server refused the connection")},
        {"ERR_CONNECTION_RESET",
                QT_TRANSLATE_NOOP("UnreachableWatch", "the connection to the server was reset")},
        {"ERR_CONNECTION_CLOSED",
                QT_TRANSLATE_NOOP(
                        "UnreachableWatch", "the server closed the connection without answering")},
        {"ERR_EMPTY_RESPONSE",
                QT_TRANSLATE_NOOP(
                        "UnreachableWatch", "the server closed the connection without answering")},
        {"ERR_CONNECTION_ABORTED",
                QT_TRANSLATE_NOOP("UnreachableWatch", "the connection to the server broke off")},
        {"ERR_CONNECTION_FAILED",
                QT_TRANSLATE_NOOP("UnreachableWatch", "the connection to the server failed")},
        {"ERR_CONNECTION_TIMED_OUT",
                QT_TRANSLATE_NOOP("UnreachableWatch", "the server did not answer in time")},
        {"ERR_TIMED_OUT",
                QT_TRANSLATE_NOOP("UnreachableWatch", "the server did not answer in time")},
        {"ERR_NAME_NOT_RESOLVED",
                QT_TRANSLATE_NOOP("UnreachableWatch", "the server's name was not found")},
        {"ERR_NAME_RESOLUTION_FAILED",
                QT_TRANSLATE_NOOP("UnreachableWatch", "the server's name could not be looked up")},
        {"ERR_ADDRESS_UNREACHABLE",
                QT_TRANSLATE_NOOP("UnreachableWatch", "the server's address cannot be reached")},
        {"ERR_INTERNET_DISCONNECTED",
                QT_TRANSLATE_NOOP(
                        "UnreachableWatch", "this computer is not connected to a network")},
        {"ERR_NETWORK_CHANGED",
                QT_TRANSLATE_NOOP("UnreachableWatch", "the network changed while connecting")},
        {"ERR_PROXY_CONNECTION_FAILED",
                QT_TRANSLATE_NOOP("UnreachableWatch", "the proxy server could not be reached")},
        {"ERR_TUNNEL_CONNECTION_FAILED",
                QT_TRANSLATE_NOOP(
                        "UnreachableWatch", "the proxy server could not reach the server")},
        {"HTTP ERROR 502",
                QT_TRANSLATE_NOOP("UnreachableWatch",
                        "the server's gateway got no answer from the web application (502)")},
        {"HTTP ERROR 503",
                QT_TRANSLATE_NOOP("UnreachableWatch",
                        "the web application is not available at the moment (503)")},
        {"HTTP ERROR 504",
                QT_TRANSLATE_NOOP("UnreachableWatch",
                        "the server's gateway waited for the web application in vain (504)")}};

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
// The code the engine's error page shows for the failure.
QString errorCode(const QWebEngineLoadingInfo &info)
{
    if (info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain)
        return QStringLiteral("HTTP ERROR %1").arg(info.errorCode());
    const QString text = info.errorString();
    return text.startsWith(QLatin1String("net::")) ? text.mid(5) : text;
}
#else
// Read in a world of our own from the document shown: the engine's error
// page, or the server's answer.
const QString errorCodeShown = QStringLiteral(
        "location.protocol === 'chrome-error:' && document.querySelector('.error-code')"
        " ? document.querySelector('.error-code').textContent : ''");
#endif

} // namespace

UnreachableWatch::UnreachableWatch(QWebEnginePage *page)
    : m_page(page)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    connect(page, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo &info) {
        // A stopped load (another one took its place) tells nothing.
        if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus)
            emit shown();
        else if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus)
            finished(info.url(), errorCode(info));
    });
#else
    // Qt 5 tells only that a load failed, also when the server answered with
    // an error page of its own, whose status it keeps to itself.
    connect(page, &QWebEnginePage::loadStarted, this, [this] { ++m_loads; });
    connect(page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        if (ok) {
            emit shown();
            return;
        }
        const QPointer<UnreachableWatch> self(this);
        const int load = m_loads;
        const QUrl address = m_page->url();
        m_page->runJavaScript(errorCodeShown, QWebEngineScript::ApplicationWorld,
                [self, load, address](const QVariant &code) {
                    // Unless the page has moved on meanwhile.
                    if (self && self->m_loads == load)
                        self->finished(address, code.toString());
                });
    });
#endif
}

QString UnreachableWatch::reasonFor(const QString &errorCode)
{
    return reasons.value(errorCode);
}

void UnreachableWatch::finished(const QUrl &address, const QString &errorCode)
{
    const QString reason = reasonFor(errorCode);
    qCDebug(lcNavigation).noquote()
            << "Load of" << address.toDisplayString(QUrl::RemovePassword) << "failed:" << errorCode
            << (reason.isEmpty() ? "(the engine's page tells it)" : "(tried again)");
    if (reason.isEmpty())
        emit shown();
    else
        emit unreachable(address, reason);
}

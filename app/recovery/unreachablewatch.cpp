#include "app/recovery/unreachablewatch.h"

#include "base/logcategories.h"

#include <QCoreApplication>
#include <QHash>
#include <QWebEnginePage>


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


} // namespace

UnreachableWatch::UnreachableWatch(QWebEnginePage *page)
    : m_page(page)
{
    watchLoads();
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

#ifndef UNREACHABLEWATCH_H
#define UNREACHABLEWATCH_H

#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>

class QWebEnginePage;

// Tells how each main-frame load of a page ended: a document is shown (the
// server's, or the engine's error page), or the server was unreachable: the
// load failed before any answer arrived, or a gateway answered 502, 503 or
// 504, which trying again may mend. The engine names the failure with the
// code its error page shows ("ERR_CONNECTION_REFUSED", "HTTP ERROR 503"):
// Qt 6 reports it with the load, Qt 5 only that the load failed, and the code
// is read from the error page it shows.
class UnreachableWatch : public QObject
{
    Q_OBJECT

public:
    explicit UnreachableWatch(QWebEnginePage *page);

    // The failure in words for a person ("the server refused the
    // connection") when trying again may mend it; else the empty text.
    static QString reasonFor(const QString &errorCode);

    // Qt 6: calls reachable when the system reports the network reachable
    // again (GLib's network monitor or NetworkManager on Debian). Qt 5 could
    // tell only by polling the network interfaces, which the report
    // downloader was freed from: there the countdown alone tries again.
    static void whenNetworkReachable(QObject *context, std::function<void()> reachable);

signals:
    void shown();
    void unreachable(const QUrl &address, const QString &reason);

private:
    // This and whenNetworkReachable: one source file per Qt version.
    void watchLoads();
    void finished(const QUrl &address, const QString &errorCode);

    QWebEnginePage *const m_page;
    int m_loads = 0; // loads started (Qt 5), to tell a late answer from the error page
};

#endif // UNREACHABLEWATCH_H

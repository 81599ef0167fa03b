#ifndef UNREACHABLEPAGE_H
#define UNREACHABLEPAGE_H

#include <QWebEnginePage>

// The bundled page the window shows while the web application's server
// cannot be reached: the address, the reason, a countdown to the next try and
// a "Try again" button. A page of its own, without the channel, that loads
// nothing but itself; the address and the reason reach its script as text.
class UnreachablePage : public QWebEnginePage
{
    Q_OBJECT

public:
    explicit UnreachablePage(QWebEngineProfile *profile);

    void show(const QUrl &address, const QString &reason, int secondsToRetry);

signals:
    // The person pressed "Try again".
    void retryRequested();

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
};

#endif // UNREACHABLEPAGE_H

#ifndef URLOPENRECORDER_H
#define URLOPENRECORDER_H

#include <QList>
#include <QObject>
#include <QUrl>

// Stands in for the desktop's default handler of file URLs while the object
// lives, and records every URL that QDesktopServices::openUrl is given.
class UrlOpenRecorder : public QObject
{
    Q_OBJECT

public:
    UrlOpenRecorder();
    ~UrlOpenRecorder() override;

    QList<QUrl> urls() const { return m_urls; }

public slots:
    void open(const QUrl &url);

private:
    QList<QUrl> m_urls;
};

#endif // URLOPENRECORDER_H

// One report download, timed and measured.
//
// Usage: bench_download <url> <file>
// Fetches <url> into <file> as the page's doDownloadSaveReport does, with
// openWhenDone set: the file is opened right after it has been committed,
// and a stand-in for the desktop's file handler takes that as the end.
// As in the application, the manager is made at start and the request comes
// a moment later, once the event loop runs (Qt's network layer finishes
// loading its plugins meanwhile). Prints "<seconds> <peak memory growth in
// KiB> <seconds to the first piece> <seconds to the last piece> <processor
// seconds>" as its last line, all from the request to the end: the growth is
// the rise of VmHWM (peak resident set), a piece is one readyRead, processor
// time counts every thread. After the last piece come the commit (the report
// synced to disk and put in the target's place) and the open.
#include "download/downloadmanager.h"
#include "download/heapslack.h"

#include <QChildEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <QUrl>

#include <cstdio>

#include <sys/resource.h>

namespace {

qint64 peakResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

double processorSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
            + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

// Ends the run when the downloader opens the saved file.
class OpenedFile : public QObject
{
    Q_OBJECT

public slots:
    void open(const QUrl &) { QCoreApplication::exit(0); }
};

// Finds the downloader's network manager, which it keeps to itself, as the
// manager learns of a new child: the reply is made with it as its parent.
class ManagerWatch : public QObject
{
public:
    QNetworkAccessManager *manager = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ChildAdded)
            manager = manager ? manager : qobject_cast<QNetworkAccessManager *>(watched);
        return false;
    }
};

int main(int argc, char *argv[])
{
    HeapSlack::keepForDownloads(); // as the application's start-up does
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "Usage: %s <url> <file>\n", argv[0]);
        return 2;
    }
    OpenedFile openedFile;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &openedFile, "open");
    // A failed download is reported on standard error and opens nothing.
    QTimer::singleShot(600 * 1000, [] { QCoreApplication::exit(1); });

    DownloadManager manager;
    const QUrl url(QString::fromLocal8Bit(argv[1]), QUrl::TolerantMode);
    const QString fileName = QString::fromLocal8Bit(argv[2]);
    ManagerWatch watch;
    app.installEventFilter(&watch);
    qint64 peakBefore = 0;
    double processorBefore = 0;
    qint64 firstPieceNs = -1;
    qint64 lastPieceNs = -1;
    QElapsedTimer timer;
    QTimer::singleShot(200, [&] {
        peakBefore = peakResidentKiB();
        processorBefore = processorSeconds();
        timer.start();
        manager.downloadToFile(url, fileName, true);
        // Connected after the downloader's own handler, which runs first: the
        // figures include saving the piece.
        app.removeEventFilter(&watch); // the download's own events go unwatched
        QNetworkReply *reply
                = watch.manager ? watch.manager->findChild<QNetworkReply *>() : nullptr;
        if (!reply) {
            std::fputs("The downloader's request was not seen\n", stderr);
            QCoreApplication::exit(1);
            return;
        }
        QObject::connect(reply, &QNetworkReply::readyRead, &watch, [&] {
            lastPieceNs = timer.nsecsElapsed();
            if (firstPieceNs < 0)
                firstPieceNs = lastPieceNs;
        });
    });
    if (app.exec() != 0)
        return 1;
    std::printf("%.6f %lld %.6f %.6f %.3f\n", timer.nsecsElapsed() / 1e9,
            peakResidentKiB() - peakBefore, firstPieceNs / 1e9, lastPieceNs / 1e9,
            processorSeconds() - processorBefore);
    return 0;
}

#include "downloadbench.moc"

#include "download/downloadmanager.h"
#include "download/networkpolling.h"
#include "download/runnablefile.h"
#include "tests/support/capturedoutput.h"
#include "tests/support/debuglog.h"
#include "tests/support/filedialogs.h"
#include "tests/support/httptestserver.h"
#include "tests/support/urlopenrecorder.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTcpServer>
#include <QtTest>

#include <atomic>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <thread>
#include <vector>

namespace {

const QByteArray earlierReport = "the report saved before";

QStringList folderEntries(const QString &path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// The files this process holds open in a folder, named or not: QSaveFile's
// temporary file has no name where the system offers O_TMPFILE.
QFileInfoList filesOpenIn(const QString &folder)
{
    QFileInfoList files;
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    for (const QFileInfo &descriptor :
            descriptors.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        if (descriptor.symLinkTarget().startsWith(folder + QLatin1Char('/')))
            files.append(descriptor);
    }
    return files;
}

qint64 sizeOfFilesOpenIn(const QString &folder)
{
    qint64 size = 0;
    for (const QFileInfo &file : filesOpenIn(folder))
        size += file.size();
    return size;
}

QByteArray fileContents(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &fileName, const QByteArray &contents)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

QLineEdit *fileNameEdit(QFileDialog *dialog)
{
    return dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
}

} // namespace

class tst_DownloadManager : public QObject
{
    Q_OBJECT

public:
    explicit tst_DownloadManager(DownloadManager *earlyManager)
        : m_earlyManager(earlyManager)
    {
    }

private slots:
    void initTestCase();

    void urlFileName_data();
    void urlFileName();
    void statusOutcome_data();
    void statusOutcome();
    void compressedReports_data();
    void compressedReports();

    void overlappingRequestsKeepTheirTargets();
    void bodyIsWrittenBesideTargetAsItArrives();

    void saveDialogAccepted();
    void saveDialogCancelledFetchesNothing();

    void unwritableTarget_data();
    void unwritableTarget();
    void writeErrorKeepsEarlierFile();

    void oneDroppedConnectionLosesNoOtherReport();
    void quitWhileReportsArriveLeavesTargetsAsTheyWere();

    void managerMadeBeforeApplication();

    void runnableFile_data();
    void runnableFile();

private:
    QByteArray serverAddress() const { return m_server.url(QString()).toEncoded(); }

    DownloadManager *m_earlyManager;
    HttpTestServer m_server;
    QTemporaryDir m_temporaryLocation;
};

void tst_DownloadManager::initTestCase()
{
    QVERIFY(m_server.isListening());
    QVERIFY(m_temporaryLocation.isValid());
    qputenv("TMPDIR", QFile::encodeName(m_temporaryLocation.path()));
    QCOMPARE(QStandardPaths::writableLocation(QStandardPaths::TempLocation),
            m_temporaryLocation.path());
}

void tst_DownloadManager::urlFileName_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("fileName");

    QTest::newRow("plain") << "/reports/report.pdf?size=100"
                           << "report.pdf";
    QTest::newRow("percent escapes decoded")
            << "/reports/annual%20report%20%C3%A9t%C3%A9.pdf?size=100"
            << QString::fromUtf8("annual report été.pdf");
    QTest::newRow("query and fragment ignored")
            << "/reports/report.pdf?size=100&name=other.pdf#page=2"
            << "report.pdf";
    QTest::newRow("escaped slash splits") << "/reports/a%2Fb.pdf?size=100"
                                          << "b.pdf";
    QTest::newRow("trailing slash") << "/reports/?size=100" << QString();
}

void tst_DownloadManager::urlFileName()
{
    QFETCH(QString, path);
    QFETCH(QString, fileName);
    const QString target = m_temporaryLocation.path() + QLatin1Char('/') + fileName;
    QFile::remove(target);
    DebugLog debugLog;
    UrlOpenRecorder opener;
    CapturedOutput out(stdout);
    CapturedOutput err(stderr);

    DownloadManager manager;
    QCOMPARE(manager.openReport(m_server.url(path)), target);
    QVERIFY(CapturedOutput::waitForLines(out, err, 1));

    if (fileName.isEmpty()) {
        QCOMPARE(err.text(),
                "Could not open " + target.toLocal8Bit()
                        + " for writing: Filename refers to a directory\n");
        QCOMPARE(out.text(), QByteArray());
        QCOMPARE(opener.urls(), QList<QUrl>());
        QCOMPARE(debugLog.lines(), QStringList {'"' + target + '"'});
    } else {
        QCOMPARE(out.text(),
                "Download of " + serverAddress() + path.toLatin1() + " succeeded (saved to "
                        + target.toLocal8Bit() + ")\n");
        QCOMPARE(err.text(), QByteArray());
        QCOMPARE(fileContents(target), HttpTestServer::body(100));
        QCOMPARE(opener.urls(), QList<QUrl> {QUrl::fromLocalFile(target)});
        QCOMPARE(debugLog.lines(), (QStringList {'"' + target + '"', "true"}));
    }
}

void tst_DownloadManager::statusOutcome_data()
{
    QTest::addColumn<QString>("address"); // a query for the test server, or a whole URL
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("message"); // {url} and {file} stand for the request's

    const QByteArray success = "Download of {url} succeeded (saved to {file})\n";
    QTest::newRow("200") << "?size=5000" << true << HttpTestServer::body(5000) << success;
    QTest::newRow("200 empty body") << "?size=0" << true << QByteArray() << success;
    // Larger than a few of the steps in which arrived data is handed to the disk.
    QTest::newRow("200 in write-back steps")
            << "?size=20000000" << true << HttpTestServer::body(20000000) << success;
    QTest::newRow("304") << "?status=304" << true << QByteArray() << success;
    QTest::newRow("306") << "?status=306&size=5000" << true << HttpTestServer::body(5000)
                         << success;

    for (int status : {301, 302, 303, 305, 307, 308}) {
        QTest::addRow("%d", status) << QString("?status=%1&size=5000").arg(status) << false
                                    << QByteArray() << QByteArray("Request was redirected.\n");
    }

    QTest::newRow("404") << "?status=404&size=5000" << false << QByteArray()
                         << QByteArray(
                                    "Download of {url} failed: Error transferring {url} - server "
                                    "replied: Not Found\n");
    QTest::newRow("500") << "?status=500&size=5000" << false << QByteArray()
                         << QByteArray(
                                    "Download of {url} failed: Error transferring {url} - server "
                                    "replied: Internal Server Error\n");
    QTest::newRow("dropped mid-body")
            << "?size=200000&drop=1" << false << QByteArray()
            << QByteArray("Download of {url} failed: Connection closed\n");
    // Sent again twice, as a request that got no answer, then reported once.
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    const quint16 closedPort = closed.serverPort();
    closed.close();
    QTest::newRow("nobody listening")
            << QString("http://127.0.0.1:%1/reports/report.pdf").arg(closedPort) << false
            << QByteArray() << QByteArray("Download of {url} failed: Connection refused\n");
    QTest::newRow("unknown scheme")
            << "nosuch://127.0.0.1/reports/report.pdf" << false << QByteArray()
            << QByteArray("Download of {url} failed: Protocol \"nosuch\" is unknown\n");
}

void tst_DownloadManager::statusOutcome()
{
    QFETCH(QString, address);
    QFETCH(bool, saved);
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, message);
    const QUrl url = address.startsWith('?') ? m_server.url("/reports/report.pdf" + address)
                                             : QUrl(address);
    QTemporaryDir folder;
    const QString target = folder.filePath("report.pdf");
    QVERIFY(writeFile(target, earlierReport));
    DebugLog debugLog;
    UrlOpenRecorder opener;
    CapturedOutput out(stdout);
    CapturedOutput err(stderr);

    const int requestsBefore = m_server.requestCount();
    DownloadManager manager;
    QCOMPARE(manager.downloadToFile(url, target, true), target);
    QVERIFY(CapturedOutput::waitForLines(out, err, 1));
    // One request each: a redirect is reported, never followed.
    QCOMPARE(m_server.requestCount() - requestsBefore, address.startsWith('?') ? 1 : 0);

    message.replace("{url}", url.toEncoded(QUrl::FullyEncoded))
            .replace("{file}", target.toLocal8Bit());
    QCOMPARE(saved ? out.text() : err.text(), message);
    QCOMPARE(saved ? err.text() : out.text(), QByteArray());
    QCOMPARE(fileContents(target), saved ? body : earlierReport);
    QCOMPARE(folderEntries(folder.path()), QStringList {"report.pdf"});
    QVERIFY(filesOpenIn(folder.path()).isEmpty());
    QCOMPARE(opener.urls(), saved ? QList<QUrl> {QUrl::fromLocalFile(target)} : QList<QUrl>());
    QCOMPARE(debugLog.lines(), saved ? QStringList {"true"} : QStringList());
}

// Compressed in transit, a report is decoded by the downloader, which takes
// it whole only when its compressed stream has ended.
void tst_DownloadManager::compressedReports_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QByteArray>("reason"); // empty: saved as the plain report

    QTest::newRow("gzip") << "?size=300000&encoding=gzip" << QByteArray();
    QTest::newRow("deflate") << "?size=300000&encoding=deflate" << QByteArray();
    QTest::newRow("bare deflate") << "?size=300000&encoding=rawdeflate" << QByteArray();
    QTest::newRow("gzip in two members") << "?size=300000&encoding=gzip&members=2" << QByteArray();
    // All that was declared arrived: only the stream tells.
    QTest::newRow("gzip without its end")
            << "?size=300000&encoding=gzip&cut=400" << QByteArray("the compressed report ended early");
    QTest::newRow("more after the end")
            << "?size=3000&encoding=gzip&tail=10" << QByteArray("the compressed report is damaged");
    QTest::newRow("an encoding not asked for")
            << "?size=5000&encoding=br" << QByteArray("the server encoded it as br, which cannot be read");
    QTest::newRow("expanding like no report")
            << "?size=20000000&encoding=gzip"
            << QByteArray("the compressed report expands beyond any report");
}

void tst_DownloadManager::compressedReports()
{
    QFETCH(QString, query);
    QFETCH(QByteArray, reason);
    const QUrl url = m_server.url("/reports/report.pdf" + query);
    const QByteArray report = HttpTestServer::body(QUrlQuery(query.mid(1)).queryItemValue("size").toLongLong());
    QTemporaryDir folder;
    const QString target = folder.filePath("report.pdf");
    QVERIFY(writeFile(target, earlierReport));
    DebugLog debugLog;
    CapturedOutput out(stdout);
    CapturedOutput err(stderr);

    DownloadManager manager;
    QSignalSpy failures(&manager, &DownloadManager::failed);
    manager.downloadToFile(url, target, false);
    QVERIFY(CapturedOutput::waitForLines(out, err, 1));

    if (reason.isEmpty()) {
        QCOMPARE(err.text(), QByteArray());
        QCOMPARE(fileContents(target), report);
    } else {
        QCOMPARE(err.text(), "Download of " + url.toEncoded() + " failed: " + reason + "\n");
        QCOMPARE(fileContents(target), earlierReport);
        QCOMPARE(failures.size(), 1);
        QCOMPARE(failures.at(0).at(0).toString(),
                QString("The report %1 could not be downloaded: %2.").arg(target, reason));
    }
    QCOMPARE(folderEntries(folder.path()), QStringList {"report.pdf"});
}

void tst_DownloadManager::overlappingRequestsKeepTheirTargets()
{
    QTemporaryDir folder;
    const QString first = folder.filePath("first.pdf");
    const QString second = folder.filePath("second.pdf");
    const QUrl firstUrl = m_server.url("/a/first.pdf?size=300000&hold=1");
    const QUrl secondUrl = m_server.url("/b/second.pdf?size=2000");
    DebugLog debugLog;
    UrlOpenRecorder opener;
    CapturedOutput out(stdout);
    CapturedOutput err(stderr);

    DownloadManager manager;
    QCOMPARE(manager.downloadToFile(firstUrl, first, true), first);
    QTRY_COMPARE(m_server.heldBodyCount(), 1);
    // The second request is made and completes while the first is in flight.
    QCOMPARE(manager.downloadToFile(secondUrl, second, false), second);
    QVERIFY(CapturedOutput::waitForLines(out, err, 1));
    QCOMPARE(fileContents(second), HttpTestServer::body(2000));
    QVERIFY(!QFile::exists(first));

    m_server.releaseHeldBodies();
    QVERIFY(CapturedOutput::waitForLines(out, err, 2));
    QCOMPARE(fileContents(first), HttpTestServer::body(300000));
    QCOMPARE(out.text(),
            "Download of " + secondUrl.toEncoded() + " succeeded (saved to " + second.toLocal8Bit()
                    + ")\nDownload of " + firstUrl.toEncoded() + " succeeded (saved to "
                    + first.toLocal8Bit() + ")\n");
    QCOMPARE(err.text(), QByteArray());
    QCOMPARE(opener.urls(), QList<QUrl> {QUrl::fromLocalFile(first)});
    QCOMPARE(debugLog.lines(), (QStringList {"false", "true"}));
    QCOMPARE(folderEntries(folder.path()), (QStringList {"first.pdf", "second.pdf"}));
}

void tst_DownloadManager::bodyIsWrittenBesideTargetAsItArrives()
{
    const qint64 size = 4 * 1024 * 1024;
    QTemporaryDir folder;
    const QString target = folder.filePath("report.pdf");
    QVERIFY(writeFile(target, earlierReport));
    DebugLog debugLog;
    CapturedOutput out(stdout);
    CapturedOutput err(stderr);

    DownloadManager manager;
    manager.downloadToFile(m_server.url("/reports/report.pdf?hold=1&size=" + QString::number(size)),
            target, false);
    // Half of the body has been sent, and is on disk before the rest comes.
    QTRY_COMPARE(sizeOfFilesOpenIn(folder.path()), size / 2);
    QCOMPARE(fileContents(target), earlierReport);

    m_server.releaseHeldBodies();
    QVERIFY(CapturedOutput::waitForLines(out, err, 1));
    QCOMPARE(err.text(), QByteArray());
    QCOMPARE(fileContents(target), HttpTestServer::body(size));
    QCOMPARE(folderEntries(folder.path()), QStringList {"report.pdf"});
}

void tst_DownloadManager::saveDialogAccepted()
{
    QTemporaryDir folder;
    const QString picked = folder.filePath("picked.pdf");
    DebugLog debugLog;
    UrlOpenRecorder opener;
    CapturedOutput out(stdout);
    CapturedOutput err(stderr);
    QString title;
    QString proposedName;
    QStringList filters;
    QTimer driver;
    FileDialogs::answerNext(driver, [&](QFileDialog *dialog) {
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        QLineEdit *nameEdit = fileNameEdit(dialog);
        proposedName = nameEdit->text();
        nameEdit->setText(picked);
        QTest::keyClick(nameEdit, Qt::Key_Return);
    });

    DownloadManager manager;
    QCOMPARE(manager.saveReportAs(m_server.url("/reports/annual%20report.pdf?size=1000"), true),
            picked);
    QCOMPARE(title, "Save Report");
    QCOMPARE(proposedName, "annual report.pdf");
    QCOMPARE(filters, (QStringList {"PDF (*.pdf)", "All Files (*)"}));
    QVERIFY(CapturedOutput::waitForLines(out, err, 1));
    QCOMPARE(err.text(), QByteArray());
    QCOMPARE(fileContents(picked), HttpTestServer::body(1000));
    QCOMPARE(opener.urls(), QList<QUrl> {QUrl::fromLocalFile(picked)});
    QCOMPARE(debugLog.lines(),
            (QStringList {"\"annual report.pdf\"", "\"annual report.pdf\"", "\"annual report.pdf\"",
                    "true"}));
}

void tst_DownloadManager::saveDialogCancelledFetchesNothing()
{
    QTemporaryDir folder;
    const QString later = folder.filePath("later.pdf");
    DebugLog debugLog;
    CapturedOutput out(stdout);
    CapturedOutput err(stderr);
    QTimer driver;
    FileDialogs::answerNext(driver, [](QFileDialog *dialog) { dialog->reject(); });
    const int requestsBefore = m_server.requestCount();

    DownloadManager manager;
    QCOMPARE(manager.saveReportAs(m_server.url("/reports/report.pdf?size=1000"), true), QString());
    QCOMPARE(
            debugLog.lines(), (QStringList {"\"report.pdf\"", "\"report.pdf\"", "\"report.pdf\""}));

    // A request made afterwards is the only one the server sees or the console reports.
    manager.downloadToFile(m_server.url("/reports/later.pdf?size=10"), later, false);
    QVERIFY(CapturedOutput::waitForLines(out, err, 1));
    QCOMPARE(m_server.requestCount(), requestsBefore + 1);
    QCOMPARE(err.text(), QByteArray());
    QCOMPARE(out.text().count('\n'), 1);
    QCOMPARE(folderEntries(folder.path()), QStringList {"later.pdf"});
}

void tst_DownloadManager::unwritableTarget_data()
{
    QTest::addColumn<QString>("fileName"); // {folder} stands for the test's folder
    QTest::addColumn<QByteArray>("errorText");
    QTest::addColumn<QString>("shown"); // in the window; {file} stands for the name

    QTest::newRow("empty name") << QString() << QByteArray("No file name specified")
                                << "A report could not be saved: no file name was given.";
    QTest::newRow("a folder") << "{folder}" << QByteArray("Filename refers to a directory")
                              << "The report {file} could not be saved: a folder has that name.";
    QTest::newRow("missing folder")
            << "{folder}/missing/report.pdf" << QByteArray("No such file or directory")
            << "The report {file} could not be saved: its folder does not exist.";
    // sysfs lets no one, root included, create a file in it; root may write
    // its folders as far as their modes tell.
    QTest::newRow("no permission")
            << "/sys/report.pdf" << QByteArray("Permission denied")
            << QString("The report {file} could not be saved: %1.")
                       .arg(QFileInfo("/sys").isWritable() ? "Permission denied"
                                                           : "its folder may not be written to");
}

void tst_DownloadManager::unwritableTarget()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, errorText);
    QFETCH(QString, shown);
    if (fileName.startsWith("/sys/") && !QFileInfo("/sys/kernel").isDir())
        QSKIP("This system has no sysfs to stand for a place without write permission");
    QTemporaryDir folder;
    fileName.replace("{folder}", folder.path());
    DebugLog debugLog;
    UrlOpenRecorder opener;
    CapturedOutput out(stdout);
    CapturedOutput err(stderr);

    DownloadManager manager;
    QSignalSpy failed(&manager, &DownloadManager::failed);
    QCOMPARE(manager.downloadToFile(
                     m_server.url("/reports/report.pdf?size=1000000"), fileName, true),
            fileName);
    QVERIFY(CapturedOutput::waitForLines(out, err, 1));
    QCOMPARE(err.text(),
            "Could not open " + fileName.toLocal8Bit() + " for writing: " + errorText + "\n");
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.first().first().toString(), shown.replace("{file}", fileName));
    QCOMPARE(out.text(), QByteArray());
    QCOMPARE(opener.urls(), QList<QUrl>());
    QCOMPARE(debugLog.lines(), QStringList());
    QCOMPARE(folderEntries(folder.path()), QStringList());
    QVERIFY(filesOpenIn(folder.path()).isEmpty());
}

void tst_DownloadManager::writeErrorKeepsEarlierFile()
{
    QTemporaryDir folder;
    const QString target = folder.filePath("report.pdf");
    QVERIFY(writeFile(target, earlierReport));
    UrlOpenRecorder opener;
    DebugLog debugLog;
    CapturedOutput out(stdout);
    CapturedOutput err(stderr);

    // A file size limit makes writes past 64 KiB fail with EFBIG, as a full
    // disk makes them fail with ENOSPC; ignoring SIGXFSZ lets write() return it.
    rlimit saved {};
    QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
    rlimit limited = saved;
    limited.rlim_cur = 64 * 1024;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    const auto restore = qScopeGuard([&] {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    });
    QVERIFY(setrlimit(RLIMIT_FSIZE, &limited) == 0);

    DownloadManager manager;
    manager.downloadToFile(m_server.url("/reports/report.pdf?size=1048576"), target, true);
    QVERIFY(CapturedOutput::waitForLines(out, err, 1));
    QCOMPARE(err.text(), "Could not write " + target.toLocal8Bit() + ": File too large\n");
    QCOMPARE(out.text(), QByteArray());
    QCOMPARE(fileContents(target), earlierReport);
    QCOMPARE(folderEntries(folder.path()), QStringList {"report.pdf"});
    QVERIFY(filesOpenIn(folder.path()).isEmpty());
    QCOMPARE(opener.urls(), QList<QUrl>());
}

// Qt queues requests beyond six per server; when one connection fails, the
// queued ones used to fail with it. How soon that happens depends on timing,
// so it takes many requests, both cores busy and several rounds to see it.
void tst_DownloadManager::oneDroppedConnectionLosesNoOtherReport()
{
    const int rounds = 10;
    const int requests = 12;
    const int dropped = 2;
    std::atomic<bool> busy {true};
    std::vector<std::thread> load;
    for (int core = 0; core < 2; ++core)
        load.emplace_back([&busy] {
            while (busy.load(std::memory_order_relaxed)) { }
        });
    const auto stopLoad = qScopeGuard([&] {
        busy = false;
        for (std::thread &thread : load)
            thread.join();
    });
    DebugLog debugLog;
    DownloadManager manager;

    int lost = 0;
    int roundsWithLoss = 0;
    for (int round = 0; round < rounds; ++round) {
        QTemporaryDir folder;
        CapturedOutput out(stdout);
        CapturedOutput err(stderr);
        QUrl droppedUrl;
        for (int i = 0; i < requests; ++i) {
            const QUrl url = m_server.url(QStringLiteral("/r/%1.pdf?size=200000%2")
                                                  .arg(i)
                                                  .arg(i == dropped ? "&drop=1" : ""));
            if (i == dropped)
                droppedUrl = url;
            manager.downloadToFile(url, folder.filePath(QString::number(i) + ".pdf"), false);
        }
        QVERIFY(CapturedOutput::waitForLines(out, err, requests));
        const int lostBefore = lost;
        for (int i = 0; i < requests; ++i) {
            if (i != dropped
                    && fileContents(folder.filePath(QString::number(i) + ".pdf"))
                            != HttpTestServer::body(200000))
                ++lost;
        }
        roundsWithLoss += lost > lostBefore;
        QCOMPARE(err.text().count("Download of " + droppedUrl.toEncoded() + " failed: "), 1);
    }
    QVERIFY2(lost == 0,
            qPrintable(QStringLiteral("%1 reports lost in %2 of %3 rounds")
                               .arg(lost)
                               .arg(roundsWithLoss)
                               .arg(rounds)));
}

void tst_DownloadManager::quitWhileReportsArriveLeavesTargetsAsTheyWere()
{
    QTemporaryDir folder;
    const QString existing = folder.filePath("existing.pdf");
    const QString fresh = folder.filePath("fresh.pdf");
    QVERIFY(writeFile(existing, earlierReport));
    DebugLog debugLog;
    UrlOpenRecorder opener;
    CapturedOutput out(stdout);
    CapturedOutput err(stderr);

    // As the bridge's, never destroyed (and reachable to the end, for the leak check).
    static DownloadManager *const manager = new DownloadManager;
    manager->downloadToFile(m_server.url("/a/existing.pdf?size=400000&hold=1"), existing, true);
    manager->downloadToFile(m_server.url("/b/fresh.pdf?size=400000&hold=1"), fresh, true);
    QTRY_COMPARE(sizeOfFilesOpenIn(folder.path()), 400000);

    QVERIFY(QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit"));
    QVERIFY(filesOpenIn(folder.path()).isEmpty());
    QCOMPARE(folderEntries(folder.path()), QStringList {"existing.pdf"});
    QCOMPARE(fileContents(existing), earlierReport);
    QCOMPARE(out.text(), QByteArray());
    QCOMPARE(err.text().count(": Operation canceled\n"), 2);
    QCOMPARE(opener.urls(), QList<QUrl>());
}

void tst_DownloadManager::managerMadeBeforeApplication()
{
    QTemporaryDir folder;
    const QString target = folder.filePath("report.pdf");
    DebugLog debugLog;
    CapturedOutput out(stdout);
    CapturedOutput err(stderr);

    m_earlyManager->downloadToFile(m_server.url("/reports/report.pdf?size=1000"), target, false);
    QVERIFY(CapturedOutput::waitForLines(out, err, 1));
    QCOMPARE(err.text(), QByteArray());
    QCOMPARE(fileContents(target), HttpTestServer::body(1000));
}

void tst_DownloadManager::runnableFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("couldRun");

    const QByteArray pdf = "%PDF-1.7\n%\xe2\xe3\xcf\xd3\n1 0 obj\n<< /Type /Catalog >>\nendobj\n";
    QTest::newRow("report") << "report.pdf" << pdf << false;
    QTest::newRow("report in capitals") << "REPORT.PDF" << pdf << false;
    QTest::newRow("text") << "notes.txt" << QByteArray("Density 1.42\n") << false;
    QTest::newRow("no suffix") << "report" << pdf << false;
    QTest::newRow("empty") << "report.pdf" << QByteArray() << false;
    QTest::newRow("program's name inside") << "setup.exe.pdf" << pdf << false;
    QTest::newRow("interpreter line later") << "report.pdf" << pdf + "#!/bin/sh\n" << false;

    for (const char *suffix :
            {"exe", "com", "scr", "pif", "bat", "cmd", "msi", "msp", "ps1", "psm1", "vbs", "vbe",
                    "js", "jse", "wsf", "wsh", "hta", "cpl", "msc", "jar", "lnk", "url", "reg",
                    "application", "desktop", "sh", "bash", "run", "appimage", "py", "pl"})
        QTest::addRow(".%s", suffix) << QString("report.") + suffix << pdf << true;
    QTest::newRow("capitals") << "SETUP.EXE" << pdf << true;
    QTest::newRow("mixed case") << "Setup.Hta" << pdf << true;
    QTest::newRow("trailing dot") << "setup.exe." << pdf << true;
    QTest::newRow("trailing dots and spaces") << "setup.bat. . " << pdf << true;
    QTest::newRow("stream of a program") << "setup.exe:Zone.Identifier" << pdf << true;
    QTest::newRow("hidden") << ".sh" << pdf << true;

    QFile self(QCoreApplication::applicationFilePath());
    QVERIFY(self.open(QIODevice::ReadOnly));
    QTest::newRow("ELF program") << "report.pdf" << self.read(4096) << true;
    QTest::newRow("Windows program")
            << "report.pdf" << QByteArray("MZ\x90\0\x03\0\0\0\x04\0\0\0\xff\xff", 14) << true;
    QTest::newRow("Mach-O program")
            << "report.pdf" << QByteArray("\xcf\xfa\xed\xfe\x07\0\0\x01", 8) << true;
    QTest::newRow("Mach-O universal")
            << "report.pdf" << QByteArray("\xca\xfe\xba\xbe\0\0\0\x02", 8) << true;
    QTest::newRow("PEF program") << "report.pdf" << QByteArray("Joy!peffpwpc") << true;
    QTest::newRow("shell script") << "report.pdf" << QByteArray("#!/bin/sh\nrm -rf ~\n") << true;
    QTest::newRow("any interpreter") << "report.pdf" << QByteArray("#!/opt/x/run\n") << true;
    QTest::newRow("desktop entry")
            << "report.pdf" << QByteArray("[Desktop Entry]\nType=Application\nExec=sh -c x\n")
            << true;
    QTest::newRow("internet shortcut")
            << "report.pdf" << QByteArray("[InternetShortcut]\nURL=file:///c:/windows/x.exe\n")
            << true;
}

void tst_DownloadManager::runnableFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(bool, couldRun);

    QTemporaryDir folder;
    const QString fileName = folder.filePath(name);
    QVERIFY(writeFile(fileName, content));
    QCOMPARE(RunnableFile::couldRun(fileName), couldRun);
}

int main(int argc, char *argv[])
{
    // As in the application, the downloader is made before the application
    // object and lives until the process ends.
    NetworkPolling::switchOff();
    static DownloadManager *const earlyManager = new DownloadManager; // reachable to the end
    // The dialog has to be Qt's own to be driven, also where a desktop's
    // platform theme would offer a native one.
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    tst_DownloadManager test(earlyManager);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_downloadmanager.moc"

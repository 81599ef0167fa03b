#include "download/downloadmanager.h"

#include "base/standarderror.h"
#include "download/downloadoutcome.h"
#include "download/protectedplaces.h"
#include "download/reportfailure.h"
#include "download/reportrequest.h"
#include "download/runnablefile.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStandardPaths>
#include <QUrl>

#include <vector>

namespace {

// How far Qt's network thread reads ahead of the writing. Without a limit it
// reads as fast as the network delivers, and a large report piles up in
// memory whenever writing falls behind. Pieces this small are written while
// the network thread's copy is still in the processor's cache: with 1 MiB a
// download took about 1.6 times the processor time.
constexpr qint64 readAheadLimit = 256 * 1024;

// When one connection to a server fails, Qt fails every request still queued
// for that server with the same error, although none of them was sent. Such
// a request is sent again, a few times at most.
constexpr int resendLimit = 2;

int httpStatus(const QNetworkReply *reply)
{
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

// Redirects are not followed; 304 and 306 are not counted among them.
bool isRedirect(int status)
{
    switch (status) {
    case 301:
    case 302:
    case 303:
    case 305:
    case 307:
    case 308:
        return true;
    default:
        return false;
    }
}

// Whether the body arriving is a report to save. Qt flags every status from
// 400 on as an error only when the reply finishes, but the status is known
// as soon as the headers are in, before any of the body.
bool carriesReport(const QNetworkReply *reply)
{
    const int status = httpStatus(reply);
    return reply->error() == QNetworkReply::NoError && !isRedirect(status) && status < 400;
}

void printFailure(const ReportFile &reportFile)
{
    const QString line = reportFile.failure() == ReportFile::Failure::Open
            ? QStringLiteral("Could not open %1 for writing: %2")
            : QStringLiteral("Could not write %1: %2");
    StandardError::writeLine(line.arg(reportFile.fileName(), reportFile.errorString()));
}

} // namespace

DownloadManager::DownloadManager() = default;

DownloadManager::~DownloadManager() = default;

QString DownloadManager::openReport(const QUrl &url)
{
    const QString fileName = QStandardPaths::writableLocation(QStandardPaths::TempLocation)
            + QDir::separator() + urlFileName(url);
    qDebug() << fileName;
    return downloadToFile(url, fileName, true);
}

QString DownloadManager::saveReportAs(const QUrl &url, bool openWhenDone)
{
    const QString proposedName = urlFileName(url);
    // Three lines of the same name, as the downloader has always written
    // them: support scripts and people reading the debug log count on them
    // as they are (see base/logcategories.h).
    qDebug() << proposedName;
    qDebug() << proposedName;
    qDebug() << proposedName;
    const QString fileName = QFileDialog::getSaveFileName(
            nullptr, tr("Save Report"), proposedName, tr("PDF (*.pdf);; All Files (*)"));
    if (fileName.isEmpty())
        return fileName; // cancelled: nothing to fetch
    return downloadToFile(url, fileName, openWhenDone);
}

QString DownloadManager::downloadToFile(const QUrl &url, const QString &fileName, bool openWhenDone)
{
    targetFileName = fileName;
    this->openWhenDone = openWhenDone;
    startTransfer(ReportRequest::forUrl(url),
            Transfer {std::make_unique<ReportFile>(fileName, openWhenDone), resendLimit, nullptr});
    return targetFileName;
}

// Refused before anything is sent: the server sees no request, no byte of
// the file reaches the disk, and the line comes at once. Checking only when
// saving would gain nothing, as the links and folders the check follows are
// made by the person and the system, never by the page.
QString DownloadManager::downloadToGivenFile(
        const QUrl &url, const QString &fileName, bool openWhenDone)
{
    const QString refusal = ProtectedPlaces::refusal(fileName);
    if (refusal.isEmpty())
        return downloadToFile(url, fileName, openWhenDone);
    DownloadOutcome::printFailed(url, refusal);
    emit failed(ReportFailure::refused(fileName));
    return fileName;
}

// Made at the first transfer: the downloader is made before the application
// object, to which Qt's network access, and the stop at quit, hook themselves.
QNetworkAccessManager &DownloadManager::network()
{
    if (!networkManager) {
        networkManager = std::make_unique<QNetworkAccessManager>();
        connect(networkManager.get(), &QNetworkAccessManager::finished, this,
                &DownloadManager::downloadFinished);
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
                &DownloadManager::abandonTransfers);
    }
    return *networkManager;
}

void DownloadManager::startTransfer(const QNetworkRequest &request, Transfer transfer)
{
    QNetworkReply *reply = network().get(request);
    reply->setReadBufferSize(readAheadLimit);
    transfers.emplace(reply, std::move(transfer));
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] {
        // Aborting finishes the reply at once, so nothing more arrives.
        if (!saveArrivedData(reply))
            reply->abort();
    });
}

// Only a reply that failed before any of a response arrived: a request that
// got an answer, even a broken one, is not sent twice.
bool DownloadManager::resend(QNetworkReply *reply, Transfer &transfer)
{
    // Only HTTP tells: its status comes before any byte of the body.
    const QString scheme = reply->url().scheme();
    const bool unanswered = (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
            && reply->error() != QNetworkReply::NoError
            && reply->error() != QNetworkReply::OperationCanceledError
            && !reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
    if (!unanswered || transfer.resends == 0)
        return false;
    --transfer.resends;
    startTransfer(reply->request(), std::move(transfer));
    return true;
}

// The window is closing: replies still arriving are stopped and their
// temporary files removed, so no part of a report is left beside its target
// (the downloader itself is never destroyed) and every target stays as it was.
void DownloadManager::abandonTransfers()
{
    std::vector<QNetworkReply *> replies;
    for (const auto &entry : transfers)
        replies.push_back(entry.first);
    for (QNetworkReply *reply : replies)
        reply->abort();
    // Replies that ended without the event loop having handled them yet.
    transfers.clear();
}

void DownloadManager::downloadFinished(QNetworkReply *reply)
{
    if (reply->isOpen()) // an aborted reply is closed, any other may hold a last piece
        saveArrivedData(reply);
    const auto entry = transfers.find(reply);
    if (entry == transfers.end()) { // not one of ours: nothing to save it to
        reply->deleteLater();
        return;
    }
    Transfer transfer = std::move(entry->second);
    transfers.erase(entry);
    if (resend(reply, transfer)) {
        reply->deleteLater();
        return;
    }
    const std::unique_ptr<ReportFile> reportFile = std::move(transfer.file);

    // Where the reply ended because we aborted it, the reason is ours.
    if (reportFile->failure() != ReportFile::Failure::None) {
        reportFailure(*reportFile);
    } else if (transfer.body && transfer.body->stoppedDecoding()) {
        reportIncomplete(reply, *reportFile, *transfer.body);
    } else if (reply->error() != QNetworkReply::NoError) {
        DownloadOutcome::printFailed(reply->url(), reply->errorString());
        emit failed(ReportFailure::notDownloaded(reportFile->fileName(), reply));
    } else if (isRedirect(httpStatus(reply))) {
        StandardError::writeLine(QStringLiteral("Request was redirected."));
        emit failed(ReportFailure::redirected(reportFile->fileName()));
    } else if (carriesReport(reply) && bodyOf(transfer, *reply).fault() != ReportBody::Fault::None) {
        // Qt's network layer ends some replies cut short without an error.
        reportIncomplete(reply, *reportFile, *transfer.body);
    } else if (!reportFile->commit()) {
        reportFailure(*reportFile);
    } else {
        reportSaved(reply, *reportFile);
    }
    reply->deleteLater();
}

QString DownloadManager::urlFileName(const QUrl &url)
{
    return QFileInfo(url.path(QUrl::FullyDecoded)).fileName();
}

// Bodies that are not reports (an error page, a redirect's) are read and
// dropped too: with the read-ahead limit an unread body would stall its reply.
bool DownloadManager::saveArrivedData(QNetworkReply *reply)
{
    const QByteArray data = reply->readAll();
    const auto entry = transfers.find(reply);
    if (entry == transfers.end() || !carriesReport(reply) || data.isEmpty())
        return true;
    Transfer &transfer = entry->second;
    QByteArray report;
    if (!bodyOf(transfer, *reply).decode(data, report))
        return false;
    return report.isEmpty() || transfer.file->append(report);
}

ReportBody &DownloadManager::bodyOf(Transfer &transfer, const QNetworkReply &reply)
{
    if (!transfer.body)
        transfer.body = std::make_unique<ReportBody>(reply);
    return *transfer.body;
}

void DownloadManager::reportFailure(const ReportFile &reportFile)
{
    printFailure(reportFile);
    emit failed(ReportFailure::notSaved(reportFile));
}

void DownloadManager::reportIncomplete(
        const QNetworkReply *reply, const ReportFile &reportFile, const ReportBody &body)
{
    DownloadOutcome::printFailed(reply->url(), ReportFailure::bodyFaultForLog(body));
    emit failed(ReportFailure::notDownloaded(reportFile.fileName(), body));
}

void DownloadManager::reportSaved(const QNetworkReply *reply, const ReportFile &reportFile)
{
    DownloadOutcome::printSucceeded(reply->url(), reportFile.fileName());
    qDebug() << reportFile.openWhenDone();
    if (!reportFile.openWhenDone())
        return;
    // The page names the address and the file: what it saved may be a program.
    if (RunnableFile::couldRun(reportFile.fileName())) {
        StandardError::writeLine(
                QStringLiteral("Not opening %1: it could run a program").arg(reportFile.fileName()));
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(reportFile.fileName()));
}

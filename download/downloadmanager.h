#ifndef DOWNLOADMANAGER_H
#define DOWNLOADMANAGER_H

#include "download/reportbody.h"
#include "download/reportfile.h"

#include <QObject>
#include <QString>

#include <memory>
#include <unordered_map>

class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;
class QUrl;

// Fetches reports over HTTP(S) into local files and opens them when asked.
// Outcomes go to standard output and standard error, never to the caller;
// failures also to the window through failed().
// Each request saves into the file it was given, however requests overlap;
// targetFileName and openWhenDone only keep what the last request asked for.
class DownloadManager : public QObject
{
    Q_OBJECT

public:
    // Needs no application object: the bridge makes it before one exists.
    DownloadManager();
    ~DownloadManager() override;

    // Saves into the temporary folder and opens the file; returns its name.
    QString openReport(const QUrl &url);
    // Asks the user where to save; returns the name picked, or the empty
    // text (and fetches nothing) when the dialog is cancelled.
    QString saveReportAs(const QUrl &url, bool openWhenDone);
    // Starts fetching url into fileName and returns fileName at once.
    QString downloadToFile(const QUrl &url, const QString &fileName, bool openWhenDone);
    // As downloadToFile for a name the page gave, which may be anywhere: a
    // name ProtectedPlaces refuses fetches nothing and is reported as a
    // failed download. Returns fileName all the same.
    QString downloadToGivenFile(const QUrl &url, const QString &fileName, bool openWhenDone);

signals:
    // A report asked for will not be there, in words for the person.
    void failed(const QString &message);

public slots:
    void downloadFinished(QNetworkReply *reply);

private:
    // A report on its way: the file it saves into, how many more times its
    // request may be sent when a reply fails before any response, and its
    // body as it comes off the wire (from the first data on).
    struct Transfer
    {
        std::unique_ptr<ReportFile> file;
        int resends;
        std::unique_ptr<ReportBody> body;
    };

    QNetworkAccessManager &network();
    void startTransfer(const QNetworkRequest &request, Transfer transfer);
    bool resend(QNetworkReply *reply, Transfer &transfer);
    void abandonTransfers();
    static QString urlFileName(const QUrl &url);
    bool saveArrivedData(QNetworkReply *reply);
    static ReportBody &bodyOf(Transfer &transfer, const QNetworkReply &reply);
    void reportFailure(const ReportFile &reportFile);
    void reportIncomplete(const QNetworkReply *reply, const ReportFile &reportFile,
            const ReportBody &body);
    void reportSaved(const QNetworkReply *reply, const ReportFile &reportFile);

    std::unique_ptr<QNetworkAccessManager> networkManager;
    QString targetFileName;
    bool openWhenDone = false;
    // The transfer of each reply in flight.
    std::unordered_map<QNetworkReply *, Transfer> transfers;
};

#endif // DOWNLOADMANAGER_H

#ifndef REPORTFAILURE_H
#define REPORTFAILURE_H

#include <QString>

class QNetworkReply;
class ReportBody;
class ReportFile;

// What the person reads in the window when a report they asked for does not
// arrive: the file's name and the reason in plain words. Standard error says
// the same for support, in the words it always had.
namespace ReportFailure {

QString notDownloaded(const QString &fileName, const QNetworkReply *reply);
// A body that is not the whole report (ReportBody::fault() says so).
QString notDownloaded(const QString &fileName, const ReportBody &body);
// The same reason for standard error, untranslated.
QString bodyFaultForLog(const ReportBody &body);
QString redirected(const QString &fileName);
QString notSaved(const ReportFile &file);
QString refused(const QString &fileName);

} // namespace ReportFailure

#endif // REPORTFAILURE_H

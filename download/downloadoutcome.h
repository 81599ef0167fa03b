#ifndef DOWNLOADOUTCOME_H
#define DOWNLOADOUTCOME_H

class QString;
class QUrl;

// The lines that tell how a download ended, the same for reports and for the
// page's own downloads: success on standard output, failure on standard error.
namespace DownloadOutcome {

void printSucceeded(const QUrl &url, const QString &fileName);
void printFailed(const QUrl &url, const QString &reason);

} // namespace DownloadOutcome

#endif // DOWNLOADOUTCOME_H

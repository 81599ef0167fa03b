#ifndef REPORTREQUEST_H
#define REPORTREQUEST_H

#include <QNetworkRequest>

namespace ReportRequest {

// The request for a report: it leaves a redirect to be reported and asks for
// a compressed body as it is sent.
QNetworkRequest forUrl(const QUrl &url);

} // namespace ReportRequest

#endif // REPORTREQUEST_H

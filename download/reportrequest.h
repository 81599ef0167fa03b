#ifndef REPORTREQUEST_H
#define REPORTREQUEST_H

#include <QNetworkRequest>

// The request for a report: it leaves a redirect to be reported and asks for
// a compressed body as it is sent.
QNetworkRequest reportRequest(const QUrl &url);

#endif // REPORTREQUEST_H

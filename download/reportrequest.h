#ifndef REPORTREQUEST_H
#define REPORTREQUEST_H

#include <QNetworkRequest>

// The plain request for a report, which leaves a redirect to be reported:
// Qt 6 follows redirects unless told not to, Qt 5 did not follow them. One
// source file per Qt version.
QNetworkRequest reportRequest(const QUrl &url);

#endif // REPORTREQUEST_H

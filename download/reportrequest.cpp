#include "download/reportrequest.h"

namespace ReportRequest {

QNetworkRequest forUrl(const QUrl &url)
{
    QNetworkRequest request(url);
    // Asked for by name, a compressed body arrives as it was sent, with the
    // length the server declared for it: ReportBody decodes it and checks
    // both. Left to Qt, it would decompress the body itself and drop that length.
    request.setRawHeader("Accept-Encoding", "gzip, deflate");
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    // Qt 6 follows redirects unless told not to; Qt 5 did not follow them.
    request.setAttribute(
            QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
#endif
    return request;
}

} // namespace ReportRequest

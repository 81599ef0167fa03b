#include "download/reportrequest.h"

QNetworkRequest reportRequest(const QUrl &url)
{
    QNetworkRequest request(url);
    request.setAttribute(
            QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    return request;
}

#include "download/reportrequest.h"

QNetworkRequest reportRequest(const QUrl &url)
{
    return QNetworkRequest(url);
}

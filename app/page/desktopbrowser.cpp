#include "app/page/desktopbrowser.h"

#include <QDebug>
#include <QDesktopServices>
#include <QUrl>

namespace DesktopBrowser {

void handOver(const QUrl &url, const char *what)
{
    const QString address = url.toDisplayString();
    if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")) {
        qDebug() << what << address << "handed to the desktop's browser";
        QDesktopServices::openUrl(url);
    } else {
        qDebug() << what << address << "dropped";
    }
}

} // namespace DesktopBrowser

#include "tests/support/urlopenrecorder.h"

#include <QDesktopServices>

UrlOpenRecorder::UrlOpenRecorder()
{
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open");
}

UrlOpenRecorder::~UrlOpenRecorder()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

void UrlOpenRecorder::open(const QUrl &url)
{
    m_urls.append(url);
}

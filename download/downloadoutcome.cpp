#include "downloadoutcome.h"

#include <QString>
#include <QUrl>

#include <cstdio>

namespace DownloadOutcome {

void printSucceeded(const QUrl &url, const QString &fileName)
{
    std::printf("Download of %s succeeded (saved to %s)\n",
            url.toEncoded(QUrl::FullyEncoded).constData(), fileName.toLocal8Bit().constData());
    std::fflush(stdout);
}

void printFailed(const QUrl &url, const QString &reason)
{
    std::fprintf(stderr, "Download of %s failed: %s\n",
            url.toEncoded(QUrl::FullyEncoded).constData(), reason.toLocal8Bit().constData());
    std::fflush(stderr);
}

} // namespace DownloadOutcome

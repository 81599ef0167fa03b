#include "download/downloadoutcome.h"

#include "base/standarderror.h"

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
    StandardError::writeLine(QStringLiteral("Download of %1 failed: %2")
                                     .arg(QString::fromLatin1(url.toEncoded(QUrl::FullyEncoded)),
                                             reason));
}

} // namespace DownloadOutcome

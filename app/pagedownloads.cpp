#include "pagedownloads.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QWebEngineProfile>

#include <cstdio>

PageDownloads::PageDownloads(QWidget *window, QWebEngineProfile *profile)
    : m_window(window)
{
    connect(profile, &QWebEngineProfile::downloadRequested, this,
            &PageDownloads::downloadRequested);
}

// A request that is not accepted before this returns is dropped by the
// engine, so the dialog runs here.
void PageDownloads::downloadRequested(PageDownload *download)
{
    const auto resumed = m_fileNames.constFind(download->id());
    if (resumed != m_fileNames.constEnd()) {
        accept(download, *resumed);
        return;
    }
    const QString proposed
            = QDir(download->downloadDirectory()).filePath(download->suggestedFileName());
    const QString fileName = QFileDialog::getSaveFileName(
            m_window, tr("Save File"), proposed, tr("All Files (*)"));
    if (fileName.isEmpty()) {
        download->cancel();
        return;
    }
    m_fileNames.insert(download->id(), fileName);
    accept(download, fileName);
}

// The engine writes into a partial file of its own beside the target and
// renames it when complete, so the file appears only then; when a transfer
// breaks off for good it removes the partial file.
void PageDownloads::accept(PageDownload *download, const QString &fileName)
{
    const QFileInfo target(fileName);
    download->setDownloadDirectory(target.absolutePath());
    download->setDownloadFileName(target.fileName());
    connect(download, &PageDownload::stateChanged, this,
            [this, download] { stateChanged(download); });
    download->accept();
}

void PageDownloads::stateChanged(PageDownload *download)
{
    const auto entry = m_fileNames.constFind(download->id());
    if (entry == m_fileNames.constEnd())
        return; // already reported
    const QByteArray url = download->url().toEncoded(QUrl::FullyEncoded);
    switch (download->state()) {
    case PageDownload::DownloadCompleted:
        std::printf("Download of %s succeeded (saved to %s)\n", url.constData(),
                entry->toLocal8Bit().constData());
        std::fflush(stdout);
        break;
    case PageDownload::DownloadInterrupted:
    case PageDownload::DownloadCancelled:
        std::fprintf(stderr, "Download of %s failed: %s\n", url.constData(),
                download->interruptReasonString().toLocal8Bit().constData());
        std::fflush(stderr);
        break;
    default:
        return;
    }
    m_fileNames.erase(entry);
}

#include "app/page/pagedownloads.h"

#include "download/downloadoutcome.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QWebEngineProfile>

#include <utility>

PageDownloads::PageDownloads(QWidget *window, QWebEngineProfile *profile)
    : m_window(window)
{
    connect(profile, &QWebEngineProfile::downloadRequested, this,
            &PageDownloads::downloadRequested);
}

PageDownloads::~PageDownloads()
{
    // Deleting may cancel a transfer, whose report then finds nothing to do.
    const QHash<quint32, Transfer> transfers = std::exchange(m_transfers, {});
    for (const Transfer &transfer : transfers)
        deleteReplaced(transfer);
}

// A request that is not accepted before this returns is dropped by the
// engine, so the dialog runs here.
void PageDownloads::downloadRequested(PageDownload *download)
{
    const auto resumed = m_transfers.find(download->id());
    if (resumed != m_transfers.end()) {
        resumed->replaced.append(resumed->current);
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
    accept(download, m_transfers[download->id()] = Transfer {fileName, {}, {}});
}

// The engine writes into a partial file of its own beside the target and
// renames it when complete, so the file appears only then; when a transfer
// breaks off for good it removes the partial file.
void PageDownloads::accept(PageDownload *download, Transfer &transfer)
{
    transfer.current = download;
    const QFileInfo target(transfer.fileName);
    download->setDownloadDirectory(target.absolutePath());
    download->setDownloadFileName(target.fileName());
    connect(download, &PageDownload::stateChanged, this,
            [this, download] { stateChanged(download); });
    download->accept();
}

void PageDownloads::stateChanged(PageDownload *download)
{
    const auto transfer = m_transfers.constFind(download->id());
    if (transfer == m_transfers.constEnd() || transfer->current != download)
        return; // already reported, or replaced
    switch (download->state()) {
    case PageDownload::DownloadCompleted:
        DownloadOutcome::printSucceeded(download->url(), transfer->fileName);
        break;
    case PageDownload::DownloadInterrupted:
        emit failed(tr("The download %1 failed: %2.")
                            .arg(QDir::toNativeSeparators(transfer->fileName),
                                    download->interruptReasonString()));
        Q_FALLTHROUGH();
    case PageDownload::DownloadCancelled:
        DownloadOutcome::printFailed(download->url(), download->interruptReasonString());
        break;
    default:
        return;
    }
    // Taken out first: deleting may bring this download back here, cancelled.
    const Transfer finished = *transfer;
    m_transfers.erase(transfer);
    deleteReplaced(finished);
}

void PageDownloads::deleteReplaced(const Transfer &transfer)
{
    for (const QPointer<PageDownload> &download : transfer.replaced)
        delete download.data();
}

#ifndef PAGEDOWNLOADS_H
#define PAGEDOWNLOADS_H

#include <QHash>
#include <QObject>
#include <QString>

#include <QtGlobal>
// Qt 6 renamed the download item and moved it to the core module.
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QWebEngineDownloadRequest>
using PageDownload = QWebEngineDownloadRequest;
#else
#include <QWebEngineDownloadItem>
using PageDownload = QWebEngineDownloadItem;
#endif

class QWebEngineProfile;
class QWidget;

// The page's own downloads (a link with a download attribute, a response
// the browser does not show): saved where the user says, never opened, the
// outcome printed as for reports.
class PageDownloads : public QObject
{
    Q_OBJECT

public:
    PageDownloads(QWidget *window, QWebEngineProfile *profile);

private:
    void downloadRequested(PageDownload *download);
    void accept(PageDownload *download, const QString &fileName);
    void stateChanged(PageDownload *download);

    QWidget *const m_window;
    // The chosen file of each download under way, by the engine's id: the
    // engine resumes a dropped transfer as a new request with the same id.
    QHash<quint32, QString> m_fileNames;
};

#endif // PAGEDOWNLOADS_H

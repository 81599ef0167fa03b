#ifndef PAGEDOWNLOADS_H
#define PAGEDOWNLOADS_H

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include "app/engine/enginecompat.h"

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
    ~PageDownloads() override;

signals:
    // A download the person accepted broke off, in words for them.
    void failed(const QString &message);

private:
    // One download under way. The engine resumes a dropped transfer as a new
    // request with the same id; the item it replaces never finishes, and the
    // profile, which cleans up only the items it still knows, would leave it
    // to cancel itself through a profile already gone. Deleted while the
    // profile lives, once the transfer is over, or when the window goes.
    struct Transfer
    {
        QString fileName;
        QPointer<PageDownload> current;
        QList<QPointer<PageDownload>> replaced;
    };

    void downloadRequested(PageDownload *download);
    void accept(PageDownload *download, Transfer &transfer);
    void stateChanged(PageDownload *download);
    static void deleteReplaced(const Transfer &transfer);

    QWidget *const m_window;
    QHash<quint32, Transfer> m_transfers; // by the engine's download id
};

#endif // PAGEDOWNLOADS_H

#ifndef SINGLEINSTANCE_H
#define SINGLEINSTANCE_H

#include "app/desktop/instancelock.h"

#include <QLocalServer>
#include <QObject>
#include <QString>

// One application per desktop session. The first start holds the session's
// InstanceLock; while it runs it listens on a local socket, through which a
// later start asks it to bring its window forward.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // Needs no application object: it is taken before the instrument is opened.
    explicit SingleInstance(const QString &key);

    // False when another process of this session already holds the lock.
    bool isFirst() const { return m_lock.isHeld(); }

    // For a later start: asks the first one to come forward; false when it
    // could not be reached.
    bool bringFirstForward() const;

    // For the first start, once the application object and window exist.
    void listenForLaterStarts();

signals:
    // A later start asks for the window to come forward.
    void forwardRequested();

private:
    InstanceLock m_lock;
    QLocalServer m_server;
};

#endif // SINGLEINSTANCE_H

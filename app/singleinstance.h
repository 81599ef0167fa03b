#ifndef SINGLEINSTANCE_H
#define SINGLEINSTANCE_H

#include <QLocalServer>
#include <QObject>
#include <QString>

class QWidget;

// One application per desktop session. The first start holds a lock that
// the system drops with the process however it ends, so a crash leaves
// nothing behind that counts; while it runs it listens on a local socket,
// through which a later start asks it to bring its window forward.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // Needs no application object: it is taken before the instrument is opened.
    explicit SingleInstance(const QString &key);
    ~SingleInstance() override;

    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // False when another process of this session already holds the lock.
    bool isFirst() const { return m_first; }

    // For a later start: asks the first one to come forward; false when it
    // could not be reached.
    bool bringFirstForward() const;

    // For the first start, once the application object and window exist.
    void bringForwardOnRequest(QWidget *window);

private:
    bool lock();
    void unlock();
    void comeForward();

    const QString m_lockName;
    const QString m_serverName;
    QLocalServer m_server;
    QWidget *m_window = nullptr;
    bool m_first = false;
#ifdef Q_OS_WIN
    void *m_mutex = nullptr;
#else
    int m_lockFile = -1;
#endif
};

#endif // SINGLEINSTANCE_H

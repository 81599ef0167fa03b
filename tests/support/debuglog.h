#ifndef DEBUGLOG_H
#define DEBUGLOG_H

#include <QMutex>
#include <QStringList>
#include <QtGlobal>

// Records the lines written to the debug log while the object lives, from
// any thread, exactly as qDebug() formats them.
class DebugLog
{
public:
    DebugLog();
    ~DebugLog();

    DebugLog(const DebugLog &) = delete;
    DebugLog &operator=(const DebugLog &) = delete;

    QStringList lines() const;

private:
    static void record(QtMsgType type, const QMessageLogContext &context, const QString &message);

    mutable QMutex m_mutex;
    QStringList m_lines;
    QtMessageHandler m_previous;
};

#endif // DEBUGLOG_H

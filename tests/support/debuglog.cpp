#include "tests/support/debuglog.h"

#include <QMutexLocker>

namespace {
DebugLog *current = nullptr;
}

DebugLog::DebugLog()
{
    current = this;
    m_previous = qInstallMessageHandler(&DebugLog::record);
}

DebugLog::~DebugLog()
{
    qInstallMessageHandler(m_previous);
    current = nullptr;
}

QStringList DebugLog::lines() const
{
    QMutexLocker locker(&m_mutex);
    return m_lines;
}

void DebugLog::record(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg || !current)
        return;
    QMutexLocker locker(&current->m_mutex);
    current->m_lines.append(message);
}

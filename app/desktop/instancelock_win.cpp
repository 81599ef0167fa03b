#include "app/desktop/instancelock.h"

#include <QDebug>

#include <windows.h>

namespace {

// Named pipes are seen by every session of the machine; the session's id
// keeps them apart (the lock's "Local\" namespace already is per session).
QString sessionServerName(const QString &key)
{
    DWORD session = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &session);
    return key + QLatin1Char('-') + QString::number(session);
}

} // namespace

InstanceLock::InstanceLock(const QString &key)
    : m_serverName(sessionServerName(key))
    , m_handle(0)
{
    const QString lockName = QStringLiteral("Local\\") + key;
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, reinterpret_cast<LPCWSTR>(lockName.utf16()));
    if (!mutex) {
        qWarning() << "Cannot create the instance lock:" << GetLastError();
        m_held = true;
        return;
    }
    m_held = GetLastError() != ERROR_ALREADY_EXISTS;
    m_handle = reinterpret_cast<qintptr>(mutex);
}

InstanceLock::~InstanceLock()
{
    if (m_handle)
        CloseHandle(reinterpret_cast<HANDLE>(m_handle));
}

// Windows lets only the process the person just started take the foreground;
// this start passes that right on.
void InstanceLock::letHolderComeForward()
{
    AllowSetForegroundWindow(ASFW_ANY);
}

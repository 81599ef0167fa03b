#ifndef INSTANCELOCK_H
#define INSTANCELOCK_H

#include <QString>

// The lock that makes one process the application of its desktop session,
// and the name of the local socket on which that process hears later starts
// of the same session. The system drops the lock with the process however it
// ends, so a crash leaves nothing behind that counts. On Linux and other Unix
// systems the session is the display (so a second desktop session of the
// same user, a remote one beside the desk's, runs its own), on Windows the
// logon session.
class InstanceLock
{
public:
    // Takes the lock named after key, unless another process of this session holds it.
    explicit InstanceLock(const QString &key);
    ~InstanceLock();

    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    // False when another process of this session holds the lock; true also
    // when no lock could be made at all: better two windows than none.
    bool isHeld() const { return m_held; }
    // The session's socket, as QLocalServer and QLocalSocket name it.
    const QString &serverName() const { return m_serverName; }

    // For a later start: lets the holder take the foreground as it comes forward.
    static void letHolderComeForward();

private:
    const QString m_serverName;
    qintptr m_handle; // the lock file's descriptor, or the mutex's handle
    bool m_held = false;
};

#endif // INSTANCELOCK_H

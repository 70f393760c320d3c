#pragma once

#include <QString>

// One copy of the client per user session: an exclusive lock on a file. The system drops
// the lock when its holder ends, so a copy that crashed does not block the next start.
class InstanceLock {
public:
    InstanceLock() = default;
    ~InstanceLock() { Release(); }
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // The lock file of this user's session.
    static QString DefaultPath();

    // False when another holder has the lock (or the file cannot be opened).
    bool Acquire(const QString& path);
    void Release();
    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

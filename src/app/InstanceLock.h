#pragma once

#include <QString>

// One copy of the client per user: an exclusive lock on a file in a folder of the user's
// own. The system drops the lock when its holder ends, so a copy that crashed does not
// block the next start.
class InstanceLock {
public:
    InstanceLock() = default;
    ~InstanceLock() { Release(); }
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // The lock file of this user: in the runtime folder ($XDG_RUNTIME_DIR), or when there is
    // none in the user's cache folder, never in a folder that other users can write to.
    static QString DefaultPath();

    enum class Result {
        Taken,   // this copy holds the lock
        Busy,    // another copy holds it
        Failed,  // the lock could not be taken (the reason says why)
    };
    // Refuses a folder that is not the user's own or that others may write to, and a lock
    // file that is a link or anything but the user's own plain file.
    Result Acquire(const QString& path, QString* why = nullptr);
    void Release();
    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

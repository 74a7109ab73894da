#pragma once
// The single-instance lock: one per name (the module names it after its window caption, so one
// module runs per device address). The operating system releases it when the holding process
// ends in any way, a crash or SIGKILL included, so a stale lock never blocks a new start.
//
// Windows: a named mutex. Elsewhere: an exclusive flock() on a small file in the user's runtime
// directory (XDG_RUNTIME_DIR, else the temporary directory), named after a hash of the lock name.
#include <QString>

namespace platform {

class SingleInstanceLock {
public:
    enum class Result {
        Acquired,       // this process holds the lock until the object is destroyed
        AlreadyRunning, // another holder exists (another process, or another object here)
        Failed,         // the lock could not be created
    };

    explicit SingleInstanceLock(QString name);
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // Takes the lock without waiting. Calling it again after success returns Acquired.
    Result acquire();
    bool held() const;
    const QString& name() const { return name_; }

private:
    void release();

    QString name_;
#ifdef Q_OS_WIN
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

} // namespace platform

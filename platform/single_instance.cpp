#include "platform/single_instance.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace platform {

#ifdef Q_OS_WIN

SingleInstanceLock::SingleInstanceLock(QString name) : name_(std::move(name)) {}

SingleInstanceLock::~SingleInstanceLock() {
    release();
}

SingleInstanceLock::Result SingleInstanceLock::acquire() {
    if (handle_)
        return Result::Acquired;
    QString objectName = name_;
    objectName.replace(u'\\', u'_'); // a backslash would name a namespace
    HANDLE h = CreateMutexW(nullptr, TRUE, reinterpret_cast<LPCWSTR>(objectName.utf16()));
    if (!h)
        return Result::Failed;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(h);
        return Result::AlreadyRunning;
    }
    handle_ = h;
    return Result::Acquired;
}

bool SingleInstanceLock::held() const {
    return handle_ != nullptr;
}

void SingleInstanceLock::release() {
    if (handle_) {
        ReleaseMutex(static_cast<HANDLE>(handle_));
        CloseHandle(static_cast<HANDLE>(handle_));
        handle_ = nullptr;
    }
}

#else

namespace {

QString lockDirectory() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
    return QDir::tempPath();
}

// The lock file: per user (a file left by another user must not refuse this one) and per name.
// The name is hashed because a caption may hold characters a file name cannot.
QString lockFilePath(const QString& name) {
    const QByteArray hash =
        QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha256).toHex().left(40);
    return lockDirectory() + QStringLiteral("/kw9100-%1-%2.lock")
                                 .arg(static_cast<qulonglong>(getuid()))
                                 .arg(QString::fromLatin1(hash));
}

} // namespace

SingleInstanceLock::SingleInstanceLock(QString name) : name_(std::move(name)) {}

SingleInstanceLock::~SingleInstanceLock() {
    release();
}

SingleInstanceLock::Result SingleInstanceLock::acquire() {
    if (fd_ >= 0)
        return Result::Acquired;
    const QByteArray path = QFile::encodeName(lockFilePath(name_));
    // O_CLOEXEC: a program the module starts must not inherit, and so keep, the lock.
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return Result::Failed;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd);
        return err == EWOULDBLOCK ? Result::AlreadyRunning : Result::Failed;
    }
    // The full name, for whoever looks at the file; the lock itself is the flock.
    const QByteArray text = name_.toUtf8() + '\n';
    if (::ftruncate(fd, 0) == 0) {
        [[maybe_unused]] const ssize_t written = ::pwrite(fd, text.constData(), text.size(), 0);
    }
    fd_ = fd;
    return Result::Acquired;
}

bool SingleInstanceLock::held() const {
    return fd_ >= 0;
}

void SingleInstanceLock::release() {
    // The file stays: removing it could let a waiting opener lock an unlinked file while a third
    // process creates and locks a new one.
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
        fd_ = -1;
    }
}

#endif

} // namespace platform

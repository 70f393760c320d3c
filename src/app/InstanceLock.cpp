#include "app/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>

namespace {

const QString kName = QStringLiteral("KvLoader.exe.lock");

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Creates the folder (not its parents) for the user alone when it is missing; refuses one
// that is a link, is not the user's, or that others may write to.
bool ownFolder(const QString& folder, QString* why)
{
    const QByteArray name = QFile::encodeName(folder);
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0) {
        if (errno != ENOENT || ::mkdir(name.constData(), 0700) != 0 || ::lstat(name.constData(), &st) != 0) {
            *why = QStringLiteral("无法创建文件夹%1：%2").arg(folder, systemError(errno));
            return false;
        }
    }
    if (!S_ISDIR(st.st_mode)) {
        *why = QStringLiteral("%1不是文件夹").arg(folder);
        return false;
    }
    if (st.st_uid != ::getuid() || (st.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        *why = QStringLiteral("文件夹%1不属于当前用户，或其他用户也可以写入").arg(folder);
        return false;
    }
    return true;
}

}  // namespace

QString InstanceLock::DefaultPath()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return QDir(QFile::decodeName(runtime)).filePath(kName);
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return QDir(cache.isEmpty() ? QDir::homePath() : cache).filePath(QStringLiteral("kvclient/") + kName);
}

InstanceLock::Result InstanceLock::Acquire(const QString& path, QString* why)
{
    Release();
    QString reason;
    const auto failed = [&](const QString& text) {
        if (why)
            *why = text;
        return Result::Failed;
    };
    const QString folder = QFileInfo(path).absolutePath();
    // The folders above it (a new account's cache folder) are made as usual.
    if (!QFileInfo::exists(folder))
        QDir().mkpath(QFileInfo(folder).absolutePath());
    if (!ownFolder(folder, &reason))
        return failed(reason);
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0) {
        const int error = errno;
        return failed(error == ELOOP ? QStringLiteral("锁文件%1是一个链接").arg(path)
                                     : QStringLiteral("无法打开锁文件%1：%2").arg(path, systemError(error)));
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::getuid()) {
        ::close(fd);
        return failed(QStringLiteral("锁文件%1不是当前用户的普通文件").arg(path));
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK)
            return Result::Busy;
        return failed(QStringLiteral("无法锁定%1：%2").arg(path, systemError(error)));
    }
    fd_ = fd;
    return Result::Taken;
}

void InstanceLock::Release()
{
    if (fd_ < 0)
        return;
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}

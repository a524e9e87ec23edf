#include "lockfiles.h"

#include "databaseerror.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vok {

namespace {

[[noreturn]] void fail(const QString& path, const char* what, int error) {
    throw DatabaseError(
        QStringLiteral("Cannot %1 the lock file %2: %3")
            .arg(QLatin1String(what), path, QString::fromLocal8Bit(strerror(error))),
        DatabaseError::Kind::Engine);
}

} // namespace

LockFiles::~LockFiles() {
    releaseAll();
}

bool LockFiles::claim(const QString& path, Kind kind) {
    if (held_.contains(path))
        return false;
    const bool alone = kind == Kind::Alone;
    const int fd =
        ::open(QFile::encodeName(path).constData(),
               (alone ? O_RDWR | O_CREAT : O_RDONLY) | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) {
        if (!alone && errno == ENOENT) {
            held_.insert(path, -1);
            return true;
        }
        fail(path, "open", errno);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink != 1) {
        ::close(fd);
        throw DatabaseError(
            QStringLiteral("The lock file %1 is not a plain file of the data folder").arg(path),
            DatabaseError::Kind::Engine);
    }
    struct flock lock {};
    lock.l_type = alone ? F_WRLCK : F_RDLCK;
    lock.l_whence = SEEK_SET; // the whole file
    if (::fcntl(fd, F_OFD_SETLK, &lock) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EAGAIN || error == EACCES)
            return false;
        fail(path, "lock", error);
    }
    held_.insert(path, fd);
    return true;
}

void LockFiles::release(const QString& path) {
    if (const auto it = held_.constFind(path); it != held_.constEnd()) {
        if (*it >= 0)
            ::close(*it);
        held_.erase(it);
    }
}

void LockFiles::releaseAll() {
    for (const int fd : std::as_const(held_)) {
        if (fd >= 0)
            ::close(fd);
    }
    held_.clear();
}

} // namespace vok

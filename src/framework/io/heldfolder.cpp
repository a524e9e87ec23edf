#include "heldfolder.h"

#include "fileerror.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace vok {

namespace {

// One name of the folder: a name that names another folder's file is never opened.
bool isOneName(const QString& name) {
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && name != QLatin1String(".") &&
           name != QLatin1String("..");
}

QByteArray encoded(const QString& name) {
    return QFile::encodeName(name);
}

} // namespace

HeldFolder::HeldFolder(const QString& path, int* error) : path_(QDir(path).absolutePath()) {
    fd_ = ::open(encoded(path_).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) {
        *error = errno;
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
        return;
    }
    *error = 0;
    identity_ = {st.st_dev, st.st_ino};
}

HeldFolder::HeldFolder(const QString& path) {
    int error = 0;
    *this = HeldFolder(path, &error);
    if (error != 0)
        throw FileError(QStringLiteral("Cannot open the folder \"%1\": %2")
                            .arg(QDir::toNativeSeparators(path_),
                                 QString::fromLocal8Bit(std::strerror(error))));
}

HeldFolder::~HeldFolder() {
    if (fd_ >= 0)
        ::close(fd_);
}

HeldFolder::HeldFolder(HeldFolder&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)), identity_(other.identity_) {
}

HeldFolder& HeldFolder::operator=(HeldFolder&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        path_ = std::move(other.path_);
        fd_ = std::exchange(other.fd_, -1);
        identity_ = other.identity_;
    }
    return *this;
}

QString HeldFolder::filePath(const QString& name) const {
    return QDir(path_).filePath(name);
}

HeldFile HeldFolder::open(const QString& name, int flags, mode_t mode) const {
    if (!isOneName(name))
        return HeldFile(-1, EINVAL);
    const int fd = ::openat(fd_, encoded(name).constData(),
                            flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, mode);
    return HeldFile(fd, errno);
}

HeldFile HeldFolder::look(const QString& name) const {
    if (!isOneName(name))
        return HeldFile(-1, EINVAL);
    const int fd = ::openat(fd_, encoded(name).constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    return HeldFile(fd, errno);
}

HeldFile HeldFolder::follow(const QString& name, int flags) const {
    if (!isOneName(name))
        return HeldFile(-1, EINVAL);
    const int fd =
        ::openat(fd_, encoded(name).constData(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    return HeldFile(fd, errno);
}

bool HeldFolder::holds(const FileIdentity& identity) const {
    const int dup = ::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dup < 0)
        return false;
    DIR* dir = ::fdopendir(dup);
    if (!dir) {
        ::close(dup);
        return false;
    }
    bool found = false;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        struct stat st {};
        if (::fstatat(fd_, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            FileIdentity{st.st_dev, st.st_ino} == identity) {
            found = true;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

HeldFile HeldFolder::createTemporary(const QString& name, QString* temporary) const {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    int error = EEXIST;
    for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
        QString candidate = QLatin1Char('.') + name.left(64) + QLatin1Char('.');
        for (int i = 0; i < 8; ++i)
            candidate += QLatin1Char(letters[QRandomGenerator::global()->bounded(62)]);
        HeldFile file = open(candidate, O_RDWR | O_CREAT | O_EXCL, 0600);
        if (file.isOpen()) {
            *temporary = candidate;
            return file;
        }
        error = file.error();
    }
    return HeldFile(-1, error);
}

int HeldFolder::rename(const QString& from, const QString& to) const {
    return ::renameat(fd_, encoded(from).constData(), fd_, encoded(to).constData()) == 0 ? 0
                                                                                         : errno;
}

int HeldFolder::link(const QString& from, const QString& to) const {
    return ::linkat(fd_, encoded(from).constData(), fd_, encoded(to).constData(), 0) == 0 ? 0
                                                                                          : errno;
}

void HeldFolder::remove(const QString& name) const {
    if (isOneName(name))
        ::unlinkat(fd_, encoded(name).constData(), 0);
}

void HeldFolder::removeIf(const QString& name, const FileIdentity& identity) const {
    const HeldFile now = look(name);
    if (now.isOpen() && now.identity() == identity)
        remove(name);
}

void HeldFolder::sync() const {
    ::fsync(fd_);
}

} // namespace vok

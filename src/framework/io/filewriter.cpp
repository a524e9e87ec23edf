#include "filewriter.h"

#include "fileerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vok {

namespace {

[[noreturn]] void fail(const QString& path, int error) {
    throw FileError(
        QStringLiteral("Cannot write \"%1\": %2")
            .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(error))));
}

// Every byte out, or the first error.
int writeAll(int fd, const QByteArray& bytes) {
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        p += n;
        left -= n;
    }
    return 0;
}

// A link names the file to write; a chain of them is followed to its end.
QString followLinks(QString path) {
    for (int hops = 0; hops < 40; ++hops) {
        const QFileInfo info(path);
        if (!info.isSymLink())
            return info.absoluteFilePath();
        path = info.symLinkTarget();
    }
    fail(path, ELOOP);
}

// Writes to a device or a pipe as it stands: there is nothing to rename into place.
void writeInPlace(const QString& path, const QByteArray& bytes) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        fail(path, errno);
    int error = writeAll(fd, bytes);
    // Devices and pipes need not know how to sync.
    if (!error && ::fsync(fd) != 0 && errno != EINVAL && errno != ENOTSUP && errno != EROFS)
        error = errno;
    if (::close(fd) != 0 && !error)
        error = errno;
    if (error)
        fail(path, error);
}

void syncFolder(const QString& folder) {
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Writes a new file beside the target and moves it into place; false when `replace` is off and
// the name is taken.
bool writeBeside(const QString& target, const QByteArray& bytes, bool replace) {
    const QFileInfo info(target);
    const QString folder = info.absolutePath();
    QByteArray temp = QFile::encodeName(QDir(folder).filePath(
        QStringLiteral(".") + info.fileName().left(64) + QStringLiteral(".XXXXXX")));
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        fail(target, errno);
    // The file a user gets reads as any file they make would; a replaced file keeps its mode.
    struct stat old {};
    mode_t mode = 0666;
    if (::stat(QFile::encodeName(target).constData(), &old) == 0)
        mode = old.st_mode & 07777;
    else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    int error = ::fchmod(fd, mode) != 0 ? errno : 0;
    if (!error)
        error = writeAll(fd, bytes);
    if (!error && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && !error)
        error = errno;
    if (!error) {
        if (replace) {
            if (::rename(temp.constData(), QFile::encodeName(target).constData()) != 0)
                error = errno;
        } else if (::link(temp.constData(), QFile::encodeName(target).constData()) != 0) {
            error = errno;
        }
    }
    ::unlink(temp.constData()); // gone after a rename; the second name after a link
    if (error == EEXIST && !replace)
        return false;
    if (error)
        fail(target, error);
    syncFolder(folder);
    return true;
}

bool writeFile(const QString& path, const QByteArray& bytes, bool replace) {
    const QString target = followLinks(path);
    struct stat st {};
    if (::stat(QFile::encodeName(target).constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            fail(path, EISDIR);
        if (!S_ISREG(st.st_mode)) {
            if (!replace)
                return false;
            writeInPlace(target, bytes);
            return true;
        }
    }
    return writeBeside(target, bytes, replace);
}

} // namespace

void FileWriter::write(const QString& path, const QByteArray& bytes) {
    writeFile(path, bytes, true);
}

bool FileWriter::writeNew(const QString& path, const QByteArray& bytes) {
    return writeFile(path, bytes, false);
}

} // namespace vok

#include "filewriter.h"

#include "fileerror.h"
#include "heldfolder.h"
#include "outputtarget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vok {

namespace {

[[noreturn]] void fail(const QString& path, int error) {
    // A pipe nobody reads would wait for ever; it is said at once instead.
    const QString why = error == ENXIO ? QStringLiteral("nothing reads from it")
                                       : QString::fromLocal8Bit(std::strerror(error));
    throw FileError(
        QStringLiteral("Cannot write \"%1\": %2").arg(QDir::toNativeSeparators(path), why));
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

// Writes to a pipe, a terminal or a device as it stands: there is nothing to rename into place.
// What was opened must still be one (`anyFile`: or a file the process was given).
void writeInPlace(HeldFile file, const QString& path, const QByteArray& bytes,
                  bool anyFile = false) {
    if (!file.isOpen())
        fail(path, file.error());
    if (!file.isStream() && !anyFile)
        throw FileError(QStringLiteral("\"%1\" was replaced by a file while it was being "
                                       "opened; nothing was written")
                            .arg(QDir::toNativeSeparators(path)));
    file.setBlocking();
    int error = writeAll(file.fd(), bytes);
    // Devices and pipes need not know how to sync.
    if (!error && ::fsync(file.fd()) != 0 && errno != EINVAL && errno != ENOTSUP && errno != EROFS)
        error = errno;
    if (const int closed = file.close(); !error)
        error = closed;
    if (error)
        fail(path, error);
}

// A descriptor the process was started with (/dev/stdout, /dev/fd/3): written as it stands,
// after what is already there, whatever it is (a pipe, a terminal, a file the shell opened).
bool isOwnDescriptor(const QString& path) {
    static const QRegularExpression own(
        QStringLiteral("^(/dev/std(out|err)|/dev/fd/[0-9]+|/proc/self/fd/[0-9]+)$"));
    return own.match(path).hasMatch();
}

// Writes a new file beside the target and moves it into place, all through the folder's
// descriptor; false when `replace` is off and the name is taken.
bool writeBeside(const HeldFolder& folder, const QString& name, const HeldFile& there,
                 const QString& path, const QByteArray& bytes, bool replace) {
    QString temp;
    HeldFile out = folder.createTemporary(name, &temp);
    if (!out.isOpen())
        fail(path, out.error());
    // The file a user gets reads as any file they make would; a replaced file keeps its mode.
    mode_t mode = 0666;
    if (there.kind() == HeldFile::Kind::Regular) {
        mode = there.mode() & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    int error = ::fchmod(out.fd(), mode) != 0 ? errno : 0;
    if (!error)
        error = writeAll(out.fd(), bytes);
    // On disk before it takes the target's name: a crash never leaves an empty file there.
    if (!error && ::fsync(out.fd()) != 0)
        error = errno;
    if (const int closed = out.close(); !error)
        error = closed;
    if (!error)
        error = replace ? folder.rename(temp, name) : folder.link(temp, name);
    folder.remove(temp); // gone after a rename; the second name after a link
    if (error == EEXIST && !replace)
        return false;
    if (error)
        fail(path, error);
    folder.sync();
    return true;
}

bool writeFile(const QString& path, const QByteArray& bytes, bool replace) {
    if (isOwnDescriptor(path)) {
        if (!replace)
            return false;
        HeldFile own(::open(QFile::encodeName(path).constData(),
                            O_WRONLY | O_APPEND | O_NONBLOCK | O_NOCTTY | O_CLOEXEC),
                     errno);
        if (const QString why = OutputTarget::refusal(path, own); !why.isEmpty())
            throw FileError(why);
        writeInPlace(std::move(own), path, bytes, true);
        return true;
    }
    const QFileInfo info(path);
    const QString name = info.fileName();
    if (name.isEmpty())
        fail(path, EISDIR);
    int error = 0;
    const HeldFolder folder(info.absolutePath(), &error);
    if (!folder.isOpen())
        fail(path, error);
    const HeldFile there = folder.look(name);
    HeldFile leadsTo;
    if (there.kind() == HeldFile::Kind::Link)
        leadsTo = folder.follow(name, O_PATH);
    if (const QString why = OutputTarget::refusal(path, folder, name, there, leadsTo);
        !why.isEmpty())
        throw FileError(why);
    switch (there.kind()) {
    case HeldFile::Kind::Absent:
    case HeldFile::Kind::Regular:
        return writeBeside(folder, name, there, path, bytes, replace);
    case HeldFile::Kind::Folder:
        fail(path, EISDIR);
    case HeldFile::Kind::Unopened:
        fail(path, there.error());
    case HeldFile::Kind::Link: {
        if (!replace)
            return false;
        // Only a pipe or a terminal, as judged; writeInPlace sees whether it still is.
        writeInPlace(folder.follow(name, O_WRONLY), path, bytes);
        return true;
    }
    case HeldFile::Kind::Pipe:
    case HeldFile::Kind::Device:
    case HeldFile::Kind::Other:
        if (!replace)
            return false;
        writeInPlace(folder.open(name, O_WRONLY), path, bytes);
        return true;
    }
    return false;
}

} // namespace

void FileWriter::write(const QString& path, const QByteArray& bytes) {
    writeFile(path, bytes, true);
}

bool FileWriter::writeNew(const QString& path, const QByteArray& bytes) {
    return writeFile(path, bytes, false);
}

} // namespace vok

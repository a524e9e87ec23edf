#include "filereader.h"

#include "fileerror.h"
#include "heldfolder.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace vok {

namespace {

[[noreturn]] void fail(const QString& path, const QString& why) {
    throw FileError(
        QStringLiteral("Cannot read \"%1\": %2").arg(QDir::toNativeSeparators(path), why));
}

[[noreturn]] void fail(const QString& path, int error) {
    fail(path, QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace

QByteArray FileReader::read(const QString& path, qint64 maxBytes) {
    const QFileInfo info(path);
    int error = 0;
    const HeldFolder folder(info.absolutePath(), &error);
    if (!folder.isOpen())
        fail(path, error);
    // A link the user names leads to the file they mean: reading through it harms nothing.
    HeldFile file = folder.follow(info.fileName(), O_RDONLY);
    if (!file.isOpen())
        fail(path, file.error());
    switch (file.kind()) {
    case HeldFile::Kind::Regular:
        break;
    case HeldFile::Kind::Folder:
        fail(path, EISDIR);
    case HeldFile::Kind::Pipe:
        fail(path, QStringLiteral("it is a pipe, not a file; Vok reads only files"));
    default:
        fail(path, QStringLiteral("it is a device, not a file; Vok reads only files"));
    }
    file.setBlocking();
    QByteArray bytes;
    bytes.resize(std::min(file.size(), maxBytes) + 1);
    qint64 got = 0;
    // One byte more than allowed: a file that grows while it is read is refused too.
    while (got < maxBytes + 1) {
        if (got == bytes.size())
            bytes.resize(std::min<qint64>(bytes.size() * 2, maxBytes + 1));
        const ssize_t n =
            ::read(file.fd(), bytes.data() + got, static_cast<size_t>(bytes.size() - got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(path, errno);
        }
        if (n == 0)
            break;
        got += n;
    }
    bytes.truncate(got);
    return bytes;
}

} // namespace vok

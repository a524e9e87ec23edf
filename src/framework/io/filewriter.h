#pragma once

#include <QByteArray>
#include <QString>

namespace vok {

// The one way Vok puts a file on disk. The bytes go to a new file beside the target, each write
// checked, then flushed, synced and renamed into place, so a full disk or a failed write is an
// error (FileError) and whatever the target held before stays whole. A target that is a device
// or a pipe (/dev/stdout) is written directly, still checking each write; a link is followed to
// the file it names.
class FileWriter {
public:
    static void write(const QString& path, const QByteArray& bytes);
    // Like write(), but never replaces a file: false when the name is already taken.
    static bool writeNew(const QString& path, const QByteArray& bytes);
};

} // namespace vok

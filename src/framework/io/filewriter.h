#pragma once

#include <QByteArray>
#include <QString>

namespace vok {

// The one way Vok puts a file on disk. The target's folder is held open and the target judged by
// what is opened there, never by its name again (OutputTarget says what may be replaced). The
// bytes go to a new file created beside the target through the folder's descriptor, each write
// checked, synced, then renamed into place through the same descriptor, so a full disk or a
// failed write is an error (FileError) and whatever the target held before stays whole. A pipe,
// a terminal or a device (/dev/stdout, also through a link) is written directly, still checking
// each write; a pipe nobody reads is an error at once. No file is written through a link.
class FileWriter {
public:
    static void write(const QString& path, const QByteArray& bytes);
    // Like write(), but never replaces a file: false when the name is already taken.
    static bool writeNew(const QString& path, const QByteArray& bytes);
};

} // namespace vok

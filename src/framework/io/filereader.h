#pragma once

#include <QByteArray>
#include <QString>

namespace vok {

// Reads a file Vok is given (a plan to import, the engine settings). It is opened first, without
// waiting, and judged by what was opened: a pipe, a device or a folder is refused at once instead
// of being waited on for ever.
class FileReader {
public:
    // The file's bytes; a file larger than `maxBytes` gives maxBytes + 1 of them, so that the
    // caller can refuse it. Throws FileError when it cannot be opened or read, or is no file.
    static QByteArray read(const QString& path, qint64 maxBytes);
};

} // namespace vok

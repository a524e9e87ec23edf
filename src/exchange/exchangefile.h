#pragma once

#include <QByteArray>
#include <QString>

// The files a plan travels in. Reading stops at a size no plan reaches; writing checks every
// step (write, flush, sync to the disk, rename into place) and leaves the file already there
// untouched when one fails.
class ExchangeFile {
public:
    static constexpr qint64 MaxBytes = 64 * 1024 * 1024;

    static QByteArray read(const QString& path);
    // `dataFolder`: a file of the data folder's own (its database, a member's sheet) is never
    // replaced; empty for a server.
    static void write(const QString& path, const QByteArray& bytes, const QString& dataFolder);
};

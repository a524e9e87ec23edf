#include "exchangefile.h"

#include "framework/io/filereader.h"
#include "framework/io/filewriter.h"
#include "framework/io/outputtarget.h"

#include <QDir>
#include <QFileInfo>
#include <stdexcept>

namespace {

[[noreturn]] void fail(const QString& text) {
    throw std::runtime_error(text.toStdString());
}

} // namespace

QByteArray ExchangeFile::read(const QString& path) {
    // A pipe or a device is refused at once rather than waited on.
    const QByteArray bytes = vok::FileReader::read(path, MaxBytes);
    if (bytes.size() > MaxBytes)
        fail(QStringLiteral("'%1' is refused: it is larger than any plan (%2 bytes at most); "
                            "nothing was imported")
                 .arg(path)
                 .arg(MaxBytes));
    return bytes;
}

void ExchangeFile::write(const QString& path, const QByteArray& bytes, const QString& dataFolder) {
    if (QFileInfo(path).isDir())
        fail(QStringLiteral("'%1' is a folder, not a file").arg(path));
    if (const QString refused = vok::OutputTarget::refusal(path, dataFolder); !refused.isEmpty())
        fail(refused);
    vok::FileWriter::write(path, bytes);
}

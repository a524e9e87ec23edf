#include "exchangefile.h"

#include "framework/io/filewriter.h"
#include "framework/io/outputtarget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace {

[[noreturn]] void fail(const QString& text) {
    throw std::runtime_error(text.toStdString());
}

} // namespace

QByteArray ExchangeFile::read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot open '%1': %2").arg(path, file.errorString()));
    if (file.size() > MaxBytes)
        fail(QStringLiteral("'%1' is refused: at %2 bytes it is larger than any plan (%3 bytes at "
                            "most); nothing was imported")
                 .arg(path)
                 .arg(file.size())
                 .arg(MaxBytes));
    // Read one byte more than allowed: a file that grows while it is read is refused too.
    const QByteArray bytes = file.read(MaxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        fail(QStringLiteral("cannot read '%1': %2").arg(path, file.errorString()));
    if (bytes.size() > MaxBytes)
        fail(QStringLiteral("'%1' is refused: it is larger than any plan; nothing was imported")
                 .arg(path));
    return bytes;
}

void ExchangeFile::write(const QString& path, const QByteArray& bytes, const QString& dataFolder) {
    if (QFileInfo(path).isDir())
        fail(QStringLiteral("'%1' is a folder, not a file").arg(path));
    if (const QString refused = vok::OutputTarget::refusal(path, dataFolder); !refused.isEmpty())
        fail(refused);
    vok::FileWriter::write(path, bytes);
}

#include "exchangefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <stdexcept>
#include <unistd.h>

namespace {

[[noreturn]] void fail(const QString& text) {
    throw std::runtime_error(text.toStdString());
}

bool dataFolderFile(const QFileInfo& target, const QString& dataFolder) {
    if (dataFolder.isEmpty())
        return false;
    const QString dir = QFileInfo(target.absolutePath()).canonicalFilePath();
    if (dir.isEmpty() || dir != QFileInfo(dataFolder).canonicalFilePath())
        return false;
    const QString name = target.fileName().toLower();
    return name.startsWith(QLatin1String("vok.sqlite")) || name.endsWith(QLatin1String(".db")) ||
           name.endsWith(QLatin1String(".db-journal")) || name == QLatin1String("vok.conf");
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
    const QFileInfo target(path);
    if (target.isDir())
        fail(QStringLiteral("'%1' is a folder, not a file").arg(path));
    if (dataFolderFile(target, dataFolder))
        fail(QStringLiteral("'%1' is a file of the data folder; choose another name").arg(path));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        fail(QStringLiteral("cannot write '%1': %2").arg(path, file.errorString()));
    // Each step is checked: a buffered write that failed must not be committed.
    if (file.write(bytes) != bytes.size() || !file.flush() || ::fsync(file.handle()) != 0) {
        const QString why = file.errorString();
        file.cancelWriting();
        fail(QStringLiteral("cannot write '%1': %2").arg(path, why));
    }
    if (!file.commit())
        fail(QStringLiteral("cannot write '%1': %2").arg(path, file.errorString()));
}

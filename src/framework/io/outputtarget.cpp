#include "outputtarget.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace vok {

namespace {

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool statOf(const QString& path, struct stat* st) {
    return ::stat(QFile::encodeName(path).constData(), st) == 0;
}

// The names the folder's own files take, present or yet to come: the database and its journal,
// members' sheets and theirs.
bool isDataName(const QString& name) {
    const QString n = name.toLower();
    return n.startsWith(QLatin1String("vok.sqlite")) || n.endsWith(QLatin1String(".db")) ||
           n.endsWith(QLatin1String(".db-journal"));
}

} // namespace

QString OutputTarget::refusal(const QString& path, const QString& dataFolder) {
    if (dataFolder.isEmpty() || dataFolder.contains(QLatin1String("://")))
        return {};
    struct stat folder {};
    if (!statOf(dataFolder, &folder))
        return {};
    const QString refused =
        QStringLiteral("%1 is a file of the data folder %2; an output never replaces the data")
            .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(dataFolder));
    const QFileInfo target(path);
    struct stat parent {};
    if (statOf(target.absolutePath(), &parent) && sameFile(parent, folder) &&
        isDataName(target.fileName()))
        return refused;
    struct stat file {};
    if (!statOf(path, &file))
        return {};
    // Through a link or another name of the same file, too.
    if (const QString real = target.canonicalFilePath(); !real.isEmpty()) {
        struct stat realParent {};
        if (statOf(QFileInfo(real).absolutePath(), &realParent) && sameFile(realParent, folder))
            return refused;
    }
    QDirIterator it(dataFolder, QDir::Files | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        struct stat held {};
        if (statOf(it.next(), &held) && sameFile(held, file))
            return refused;
    }
    return {};
}

} // namespace vok

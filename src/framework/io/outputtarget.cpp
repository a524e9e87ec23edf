#include "outputtarget.h"

#include "heldfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <fcntl.h>
#include <mutex>

namespace vok {

namespace {

std::mutex protectedLock;
QList<const HeldFolder*> protectedFolders;

// The names the folder's own files take, present or yet to come: the database and its journal,
// members' sheets and theirs.
bool isDataName(const QString& name) {
    const QString n = name.toLower();
    return n.startsWith(QLatin1String("vok.sqlite")) || n.endsWith(QLatin1String(".db")) ||
           n.endsWith(QLatin1String(".db-journal"));
}

QString dataRefusal(const QString& path, const HeldFolder& dataFolder) {
    return QStringLiteral("%1 is a file of the data folder %2; an output never replaces the data")
        .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(dataFolder.path()));
}

// Whether the output would replace, or write into, a file of the data folder.
bool replacesData(const HeldFolder& folder, const QString& name, const HeldFile& there,
                  const HeldFile& leadsTo, const HeldFolder& dataFolder) {
    if (folder.identity() == dataFolder.identity() &&
        (isDataName(name) || there.kind() != HeldFile::Kind::Absent))
        return true;
    if (there.isOpen() && there.kind() != HeldFile::Kind::Link &&
        dataFolder.holds(there.identity()))
        return true;
    return leadsTo.isOpen() &&
           (leadsTo.identity() == dataFolder.identity() || dataFolder.holds(leadsTo.identity()));
}

template <typename Judge> QString judged(const HeldFolder* dataFolder, Judge&& judge) {
    if (dataFolder) {
        if (QString why = judge(*dataFolder); !why.isEmpty())
            return why;
    }
    const std::lock_guard lock(protectedLock);
    for (const HeldFolder* f : std::as_const(protectedFolders)) {
        if (QString why = judge(*f); !why.isEmpty())
            return why;
    }
    return {};
}

} // namespace

QString OutputTarget::refusal(const QString& shownPath, const HeldFolder& folder,
                              const QString& name, const HeldFile& there, const HeldFile& leadsTo,
                              const HeldFolder* dataFolder) {
    if (QString why = judged(dataFolder,
                             [&](const HeldFolder& data) {
                                 return replacesData(folder, name, there, leadsTo, data)
                                            ? dataRefusal(shownPath, data)
                                            : QString();
                             });
        !why.isEmpty())
        return why;
    // A link may be changed to lead anywhere between a look and a write: only a pipe or a
    // terminal is reached through one (/dev/stdout), never a file to replace.
    if (there.kind() == HeldFile::Kind::Link && !leadsTo.isStream())
        return QStringLiteral("%1 is a link; Vok never writes an output through a link, which "
                              "could lead to any file")
            .arg(QDir::toNativeSeparators(shownPath));
    return {};
}

QString OutputTarget::refusal(const QString& shownPath, const HeldFile& opened) {
    if (opened.kind() != HeldFile::Kind::Regular)
        return {};
    return judged(nullptr, [&](const HeldFolder& data) {
        return data.holds(opened.identity()) ? dataRefusal(shownPath, data) : QString();
    });
}

QString OutputTarget::refusal(const QString& path, const QString& dataFolder) {
    if (dataFolder.isEmpty() || dataFolder.contains(QLatin1String("://")))
        return {};
    int error = 0;
    const HeldFolder data(dataFolder, &error);
    const QFileInfo target(path);
    const HeldFolder folder(target.absolutePath(), &error);
    if (!data.isOpen() || !folder.isOpen())
        return {}; // nothing there to replace; the write says what is wrong
    const HeldFile there = folder.look(target.fileName());
    HeldFile leadsTo;
    if (there.kind() == HeldFile::Kind::Link)
        leadsTo = folder.follow(target.fileName(), O_PATH);
    return refusal(path, folder, target.fileName(), there, leadsTo, &data);
}

OutputTarget::Protection::Protection(const HeldFolder& folder) : folder_(&folder) {
    const std::lock_guard lock(protectedLock);
    protectedFolders.append(folder_);
}

OutputTarget::Protection::~Protection() {
    const std::lock_guard lock(protectedLock);
    protectedFolders.removeOne(folder_);
}

} // namespace vok

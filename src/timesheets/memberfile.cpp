#include "memberfile.h"

#include "data/schema.h"
#include "framework/dataset/databaseerror.h"
#include "framework/dataset/table.h"

namespace {

bool isBlankOrControl(QChar c) {
    return c.unicode() <= 0x20 || c.category() == QChar::Other_Control;
}

// Refused by at least one of the file systems a shared data folder may live on.
const QString forbiddenCharacters = QStringLiteral("/\\<>:\"|?*");

// Most file systems hold names of at most 255 bytes.
constexpr int maxFileNameBytes = 255;

} // namespace

QString MemberFile::trimmedName(const QString& memberName) {
    qsizetype from = 0;
    qsizetype to = memberName.size();
    while (from < to && isBlankOrControl(memberName.at(from)))
        ++from;
    while (to > from && isBlankOrControl(memberName.at(to - 1)))
        --to;
    return memberName.mid(from, to - from);
}

QString MemberFile::fileName(const QString& memberName) {
    return trimmedName(memberName) + QStringLiteral(".db");
}

QString MemberFile::refusal(const QString& memberName) {
    const QString name = trimmedName(memberName);
    if (name.isEmpty())
        return QStringLiteral(
            "A member name must hold more than blanks to name a time sheet file.");
    for (const QChar c : name) {
        if (forbiddenCharacters.contains(c))
            return QStringLiteral("The member name \"%1\" cannot name a time sheet file: it holds "
                                  "the character '%2'.")
                .arg(name, c);
        if (c.category() == QChar::Other_Control || c.isNull())
            return QStringLiteral(
                       "The member name \"%1\" cannot name a time sheet file: it holds a "
                       "control character.")
                .arg(name);
    }
    if (name.contains(QStringLiteral("..")))
        return QStringLiteral(
                   "The member name \"%1\" cannot name a time sheet file: it holds \"..\".")
            .arg(name);
    if (name.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive))
        return QStringLiteral(
                   "The member name \"%1\" cannot name a time sheet file: the storage engine "
                   "keeps names beginning with sqlite_ for itself.")
            .arg(name);
    if (Schema::isSharedTableName(name))
        return QStringLiteral(
                   "The member name \"%1\" cannot name a time sheet file: the data folder "
                   "uses that name for a shared table.")
            .arg(name);
    if (fileName(name).toUtf8().size() > maxFileNameBytes)
        return QStringLiteral("The member name \"%1\" is too long to name a time sheet file.")
            .arg(name);
    return {};
}

QString MemberFile::withTrailingSeparator(const QString& folder) {
    if (folder.isEmpty())
        return folder;
    QString path = folder;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

void MemberFile::open(vok::Table& lines, const QString& memberName) {
    const QString file = fileName(memberName);
    lines.setTableName(file);
    try {
        lines.open();
    } catch (const vok::DatabaseError& e) {
        throw vok::DatabaseError(
            QStringLiteral("%1 cannot be opened as a time sheet: %2").arg(file, e.message()),
            e.kind());
    }
}

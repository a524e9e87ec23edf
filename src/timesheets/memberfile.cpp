#include "memberfile.h"

#include "data/schema.h"
#include "framework/dataset/databaseerror.h"
#include "framework/dataset/table.h"
#include "framework/io/showntext.h"

namespace {

bool isBlankOrControl(QChar c) {
    return c.unicode() <= 0x20 || c.category() == QChar::Other_Control;
}

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
    if (const QString why = Schema::sheetFileRefusal(fileName(name)); !why.isEmpty())
        return QStringLiteral("The member name \"%1\" cannot name a time sheet file: %2.")
            .arg(vok::ShownText::escaped(name), why);
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

#include "memberlist.h"

#include "framework/dataset/table.h"
#include "memberfile.h"

QStringList MemberList::names(vok::Table& members) {
    if (!members.isActive())
        members.open();
    const vok::Field& name = members.fieldByName(QStringLiteral("Member_name"));
    QStringList out;
    for (members.first(); !members.eof(); members.next())
        out << name.asString();
    return out;
}

QString MemberList::find(const QStringList& listed, const QString& given) {
    if (listed.contains(given))
        return given;
    const QString trimmed = MemberFile::trimmedName(given);
    QString found;
    for (const QString& name : listed) {
        if (MemberFile::trimmedName(name) != trimmed)
            continue;
        if (!found.isNull())
            return {}; // two members would fit
        found = name;
    }
    return found;
}

#include "memberlist.h"

#include "framework/dataset/table.h"

QStringList MemberList::names(vok::Table& members) {
    if (!members.isActive())
        members.open();
    const vok::Field& name = members.fieldByName(QStringLiteral("Member_name"));
    QStringList out;
    for (members.first(); !members.eof(); members.next())
        out << name.asString();
    return out;
}

#pragma once

#include <QStringList>

namespace vok {
class Table;
}

// The names of the team members, as the members table lists them.
class MemberList {
public:
    // Walks the members record-set from its first to its last record (opening it if needed).
    static QStringList names(vok::Table& members);
    // The listed name a given name stands for: the same name, or else the one listed name that
    // differs from it only by blanks around it (" Crew" for "Crew"). Empty when there is none.
    static QString find(const QStringList& listed, const QString& given);
};

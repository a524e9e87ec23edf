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
};

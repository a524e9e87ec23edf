#pragma once

#include <QString>

namespace vok {
class Store;
}

// Data folders for the fault suites: "Project 1" to "Project n", each with two major activities of
// two actions (named as DataFolder::createSized names them), members "Crew 1" to "Crew m", and
// what the suites need to write lines and to check the books afterwards.
class FaultFolder {
public:
    static void create(const QString& dir, int projects, int members);
    static QString memberName(int i) { return QStringLiteral("Crew %1").arg(i); }

    // Appends lines to a member's file (created when needed) or to the cost entry file. Line k
    // names a project, a major activity or an action in turn, one in fifty a project that does
    // not exist; its quantity is a multiple of a quarter, so that every sum is exact; its notes
    // are the tag and k.
    static void writeMemberLines(const QString& dir, const QString& member, int count,
                                 const QString& tag, int projects);
    static void writeCostLines(const QString& dir, int count, const QString& tag, int projects);

    // Empty when every actual hour and cost total of the three levels equals the sum of the rows
    // booked on it; otherwise the first total that does not.
    static QString booksDiffer(vok::Store& store);
    // The first column of the first row of a query, as a number.
    static qlonglong number(vok::Store& store, const QString& sql);
    // Lines left in a member's file.
    static qlonglong memberLines(vok::Store& store, const QString& member);
};

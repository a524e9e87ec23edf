#pragma once

#include "entrymerge.h"

#include <QString>
#include <QStringList>
#include <functional>

class ProjectData;

// Merges chosen members' personal time-sheet files into the project time sheet table, each file
// in a unit of work of its own, raising the actual hours of the projects, major activities and
// actions named. The member file is closed afterwards, also when its merge fails.
class TimeSheetMerge {
public:
    explicit TimeSheetMerge(ProjectData& dm);

    // Called before each chosen member with its position and the number chosen; returning false
    // stops there (the members merged so far stay merged).
    std::function<bool(int index, int count)> beforeMember;
    // Called after each member's file has been merged.
    std::function<void(const QString& member, const MergeReport& report)> afterMember;
    // Passed on to each file's merge (see EntryMerge::afterLine).
    std::function<void(int line)> afterLine;

    // Members are named as listed in the members table; rows carry that name untrimmed. A member
    // without a file has nothing to merge. A file that cannot be merged (a name that cannot name
    // a file of the data folder, a file that cannot be opened or holds an unreadable value, a
    // lock that outlasts the wait) is left as it was and reported as skipped; the others are
    // merged all the same.
    MergeReport run(const QStringList& members);

    // The fields of a time sheet line, of the row it becomes and of the hours it raises.
    static EntryLayout layout();

private:
    MergeReport mergeMember(const QString& member);

    ProjectData& dm_;
};

#pragma once

#include <QString>
#include <QStringList>

// Members' time sheets for the merge benchmarks: "Member 1" ... "Member n", each a file of lines
// naming projects, major activities and actions of a sized folder ("Project 12", "Major 12.3",
// "Action 12.3.5"), at project, major activity or action level, with one line in a hundred naming
// a project that does not exist.
namespace MemberFiles {

enum class Spread {
    Runs,  // a member's lines come in runs of five on one major activity, as a week of work is
           // booked
    Apart, // every line on another project: each line moves all three record-sets
};

QString memberName(int member);
QStringList memberNames(int members);
// Writes the members' files into a data folder of `projects` x 10 x 10.
void write(const QString& dir, int members, int linesPerMember, int projects, Spread spread);

} // namespace MemberFiles

#pragma once

#include <QString>

class QTextStream;
class ProjectData;
struct MergeReport;

// What the two merge commands share: the data module on the folder and the printed summary.
class MergeCommand {
public:
    // Connects the data module to the folder and opens the record-sets the merges search.
    static void connect(ProjectData& dm, const QString& folder);
    // The lines merged and the names not found.
    static void printSummary(QTextStream& out, const MergeReport& report, const QString& what);
};

#pragma once

#include "timesheets/entrymerge.h"

#include <functional>

class ProjectData;

// Merges the whole cost entry file into the project cost table in one unit of work, raising the
// actual costs of the projects, major activities and actions named.
class CostMerge {
public:
    explicit CostMerge(ProjectData& dm);

    // Passed on to the merge (see EntryMerge::afterLine).
    std::function<void(int line)> afterLine;

    // Opens the cost table and the cost entry file (unless the entry window left it open), merges
    // every line and closes both, also when the merge fails.
    MergeReport run();

    // The fields of a cost line, of the row it becomes and of the costs it raises.
    static EntryLayout layout();
    // The cost entry file as messages name it.
    static QString sourceName();

private:
    ProjectData& dm_;
};

#pragma once

#include "mergereport.h"

#include <QList>
#include <QString>
#include <array>
#include <vector>

class ProjectData;
namespace vok {
class Field;
class Table;
struct TableRow;
} // namespace vok

// The numbers a line names by text: project, major activity and action.
struct LineIds {
    int project = 0;
    int major = 0;
    int action = 0;
};

// Resolves names to record numbers through the shared record-sets, leaving each on the record
// found: the project among all projects, the major activity among the current project's, the
// action among the current major activity's. The first exact match (same characters, same case)
// wins; 0 means not found.
class NameLookup {
public:
    explicit NameLookup(ProjectData& dm);

    int FindProjectId(const QString& name);
    int FindMajorId(const QString& name);
    int FindActionId(const QString& name);

    // The three lookups in order. An empty name names nothing and gives 0; a level whose level
    // above gave 0 gives 0 too, so that a line is never booked under another project's or major
    // activity's record. A name given but not found is counted in the report.
    LineIds resolve(const QString& project, const QString& major, const QString& action,
                    MergeReport& report);

    // Reads the major activities and actions that these lines name (project, major activity and
    // action, three names a line) in a few statements, for their lookups to find them read.
    void readAhead(const QList<std::array<QString, 3>>& lines);

private:
    // One record-set searched by name.
    struct Level {
        Level(vok::Table& t, const char* nameField, const char* idField);
        int find(const QString& wanted) const;
        // The same, without moving: among `rows`, or the range shown when none are given.
        int idOf(const QString& wanted) const;
        int idOf(const std::vector<vok::TableRow>& rows, const QString& wanted) const;
        vok::Table& table;
        QString name;
        vok::Field& id;
    };
    Level project_;
    Level major_;
    Level action_;
};

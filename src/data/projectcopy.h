#pragma once

#include <QString>
#include <QVariantList>

class ProjectHierarchy;
class ProjectCopyTables;
class ProjectData;
namespace vok {
class Table;
}

// Copies the current project of the working record-sets: the project named "Copy of " and its
// name, its team and contacts, its major activities with their teams, and their actions with
// their teams, all under new numbers. Notes, time sheets and costs stay behind. One unit of
// work: a copy that fails half-way leaves nothing.
class ProjectCopy {
public:
    ProjectCopy(ProjectData& dm, ProjectCopyTables& copies);

    struct Result {
        int project = 0; // the new project's number
        QString name;    // its name as stored
    };
    Result run();

private:
    void copyLevel(const ProjectHierarchy& hierarchy, int level, const QVariantList& owners);
    // Repeats the current record of a working record-set in its copy record-set under the given
    // owners' numbers; returns the new record's key.
    QVariantList copyRecord(vok::Table& source, const QVariantList& owners);

    ProjectData& dm_;
    ProjectCopyTables& copies_;
    Result result_;
};

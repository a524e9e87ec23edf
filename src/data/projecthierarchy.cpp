#include "projecthierarchy.h"

#include "framework/dataset/table.h"
#include "projectdata.h"

#include <QScopeGuard>

namespace {

// Deletes every record of a record-set's current view.
void deleteAll(vok::Table& t) {
    while (!t.isEmpty())
        t.deleteRecord();
}

} // namespace

ProjectHierarchy::ProjectHierarchy(ProjectData& dm) {
    levels_[ProjectLevel] = {dm.projects,
                             {{dm.ProjectTeam, true, false},
                              {dm.ProjectNotes, false, false},
                              {dm.Contacts, true, false},
                              {dm.ProjectTS, false, true},
                              {dm.ProjectCost, false, true}},
                             dm.Major};
    levels_[MajorLevel] = {
        dm.Major, {{dm.MajorTeam, true, false}, {dm.MajorNotes, false, false}}, dm.Action};
    levels_[ActionLevel] = {
        dm.Action, {{dm.ActionTeam, true, false}, {dm.ActionNotes, false, false}}, nullptr};
}

void ProjectHierarchy::storePending() {
    for (const Node& node : levels_) {
        node.records->checkBrowseMode();
        for (const Detail& d : node.details) {
            if (d.table->isActive())
                d.table->checkBrowseMode();
        }
    }
}

void ProjectHierarchy::remove(int at) {
    const Node& node = level(at);
    if (node.children) {
        while (!node.children->isEmpty()) {
            node.children->first();
            remove(at + 1);
        }
    }
    for (const Detail& d : node.details) {
        if (!d.openWhileUsed) {
            deleteAll(*d.table);
            continue;
        }
        // Every time-sheet and cost row of the project, whatever it was booked on.
        d.table->open();
        const auto close = qScopeGuard([&d] { d.table->close(); });
        deleteAll(*d.table);
    }
    node.records->deleteRecord();
}

QStringList ProjectHierarchy::ownerFields(const vok::Table& table, int owners) {
    return table.indexFieldNames().mid(0, owners);
}

std::optional<ProjectHierarchy::Place> ProjectHierarchy::placeOf(const vok::Table& table) const {
    for (int at = 0; at < LevelCount; ++at) {
        const Node& node = level(at);
        if (node.records == &table)
            return Place{at, true};
        for (const Detail& d : node.details) {
            if (d.table == &table)
                return Place{at, false};
        }
    }
    return std::nullopt;
}

QList<vok::Table*> ProjectHierarchy::hangingOff(int at) const {
    const Node& node = level(at);
    QList<vok::Table*> out;
    for (const Detail& d : node.details)
        out << d.table;
    if (node.children)
        out << node.children;
    return out;
}

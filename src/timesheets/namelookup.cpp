#include "namelookup.h"

#include "data/tdatamodule2.h"

namespace {

int find(vok::Table& table, const QString& nameField, const QString& idField, const QString& name) {
    if (!table.isActive())
        table.open();
    if (!table.locate(nameField, name))
        return 0;
    return table.fieldByName(idField).asInteger();
}

} // namespace

NameLookup::NameLookup(TDataModule2& dm) : dm_(dm) {}

int NameLookup::FindProjectId(const QString& name) {
    return find(*dm_.projects, QStringLiteral("Zel_project"), QStringLiteral("Zel_Project_id"),
                name);
}

int NameLookup::FindMajorId(const QString& name) {
    return find(*dm_.Major, QStringLiteral("Major_item"), QStringLiteral("Major_id"), name);
}

int NameLookup::FindActionId(const QString& name) {
    return find(*dm_.Action, QStringLiteral("Action_name"), QStringLiteral("Action_id"), name);
}

void NameLookup::missing(const QString& what) {
    if (!seen_.contains(what)) {
        seen_.insert(what);
        notFound_ << what;
    }
}

LineIds NameLookup::resolve(const QString& project, const QString& major, const QString& action) {
    LineIds ids;
    if (project.isEmpty())
        return ids;
    ids.project = FindProjectId(project);
    if (ids.project == 0) {
        missing(QStringLiteral("project \"%1\"").arg(project));
        return ids;
    }
    if (major.isEmpty())
        return ids;
    ids.major = FindMajorId(major);
    if (ids.major == 0) {
        missing(QStringLiteral("major activity \"%1\" of project \"%2\"").arg(major, project));
        return ids;
    }
    if (action.isEmpty())
        return ids;
    ids.action = FindActionId(action);
    if (ids.action == 0)
        missing(QStringLiteral("action \"%1\" of major activity \"%2\" of project \"%3\"")
                    .arg(action, major, project));
    return ids;
}

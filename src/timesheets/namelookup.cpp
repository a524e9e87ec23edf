#include "namelookup.h"

#include "data/projectdata.h"

NameLookup::Level::Level(vok::Table& t, const char* nameField, const char* idField)
    : table(t), name(QLatin1String(nameField)), id(t.fieldByName(QLatin1String(idField))) {}

int NameLookup::Level::find(const QString& wanted) const {
    if (!table.isActive())
        table.open();
    return table.locate(name, wanted) ? id.asInteger() : 0;
}

NameLookup::NameLookup(ProjectData& dm)
    : project_(*dm.projects, "Zel_project", "Zel_Project_id"),
      major_(*dm.Major, "Major_item", "Major_id"), action_(*dm.Action, "Action_name", "Action_id") {
}

int NameLookup::FindProjectId(const QString& name) {
    return project_.find(name);
}

int NameLookup::FindMajorId(const QString& name) {
    return major_.find(name);
}

int NameLookup::FindActionId(const QString& name) {
    return action_.find(name);
}

LineIds NameLookup::resolve(const QString& project, const QString& major, const QString& action,
                            MergeReport& report) {
    LineIds ids;
    if (project.isEmpty())
        return ids;
    ids.project = FindProjectId(project);
    if (ids.project == 0) {
        report.addNotFound(QStringLiteral("project \"%1\"").arg(project));
        return ids;
    }
    if (major.isEmpty())
        return ids;
    ids.major = FindMajorId(major);
    if (ids.major == 0) {
        report.addNotFound(
            QStringLiteral("major activity \"%1\" of project \"%2\"").arg(major, project));
        return ids;
    }
    if (action.isEmpty())
        return ids;
    ids.action = FindActionId(action);
    if (ids.action == 0)
        report.addNotFound(
            QStringLiteral("action \"%1\" of major activity \"%2\" of project \"%3\"")
                .arg(action, major, project));
    return ids;
}

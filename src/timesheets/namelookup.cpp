#include "namelookup.h"

#include "data/projectdata.h"
#include "framework/dataset/table.h"
#include "framework/io/showntext.h"

#include <QHash>
#include <QSet>

NameLookup::Level::Level(vok::Table& t, const char* nameField, const char* idField)
    : table(t), name(QLatin1String(nameField)), id(t.fieldByName(QLatin1String(idField))) {}

int NameLookup::Level::find(const QString& wanted) const {
    if (!table.isActive())
        table.open();
    return table.locate(name, wanted) ? id.asInteger() : 0;
}

int NameLookup::Level::idOf(const QString& wanted) const {
    const int row = table.rowOf(name, wanted);
    return row < 0 ? 0 : table.valueAt(row, id.index()).toInt();
}

int NameLookup::Level::idOf(const std::vector<vok::TableRow>& rows, const QString& wanted) const {
    const int at = table.fieldByName(name).index();
    for (const vok::TableRow& row : rows) {
        if (row.values[at].toString() == wanted)
            return row.values[id.index()].toInt();
    }
    return 0;
}

void NameLookup::readAhead(const QList<std::array<QString, 3>>& lines) {
    if (!project_.table.isActive())
        project_.table.open();
    QList<QVariantList> projects;
    QHash<QString, int> projectIds;
    for (const auto& line : lines) {
        if (line[0].isEmpty() || projectIds.contains(line[0]))
            continue;
        const int id = project_.idOf(line[0]);
        projectIds.insert(line[0], id);
        if (id != 0)
            projects << QVariantList{id};
    }
    major_.table.readRanges(projects);
    // The actions of the major activities named, found among the ranges just read.
    QList<QVariantList> majors;
    QHash<int, std::vector<vok::TableRow>> majorRows;
    QSet<QPair<int, QString>> seen;
    for (const auto& line : lines) {
        const int project = projectIds.value(line[0]);
        if (project == 0 || line[1].isEmpty() || line[2].isEmpty())
            continue;
        if (seen.contains({project, line[1]}))
            continue;
        seen.insert({project, line[1]});
        auto rows = majorRows.find(project);
        if (rows == majorRows.end())
            rows = majorRows.insert(project, major_.table.rangeOf({project}));
        if (const int major = major_.idOf(*rows, line[1]); major != 0)
            majors << QVariantList{project, major};
    }
    action_.table.readRanges(majors);
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
        report.addNotFound(QStringLiteral("project \"%1\"").arg(vok::ShownText::escaped(project)));
        return ids;
    }
    if (major.isEmpty())
        return ids;
    ids.major = FindMajorId(major);
    if (ids.major == 0) {
        report.addNotFound(
            QStringLiteral("major activity \"%1\" of project \"%2\"")
                .arg(vok::ShownText::escaped(major), vok::ShownText::escaped(project)));
        return ids;
    }
    if (action.isEmpty())
        return ids;
    ids.action = FindActionId(action);
    if (ids.action == 0)
        report.addNotFound(
            QStringLiteral("action \"%1\" of major activity \"%2\" of project \"%3\"")
                .arg(vok::ShownText::escaped(action), vok::ShownText::escaped(major),
                     vok::ShownText::escaped(project)));
    return ids;
}

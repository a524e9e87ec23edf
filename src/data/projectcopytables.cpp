#include "projectcopytables.h"

#include "framework/dataset/table.h"
#include "schema.h"

ProjectCopyTables::ProjectCopyTables(vok::Store* store, QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("DataModule17"));
    CopyProject = makeTable(store, "CopyProject", "projects.DB");
    CopyMajor = makeTable(store, "CopyMajor", "major.DB");
    CopyAction = makeTable(store, "CopyAction", "action.DB");
    CopyProjectTeam = makeTable(store, "CopyProjectTeam", "ProjectTeam.DB");
    CopyMajorTeam = makeTable(store, "CopyMajorTeam", "MajorTeam.DB");
    CopyActionTeam = makeTable(store, "CopyActionTeam", "actionTeam.DB");
    CopyContact = makeTable(store, "CopyContact", "ProjectContact.DB");
}

vok::Table* ProjectCopyTables::makeTable(vok::Store* store, const char* name, const char* file) {
    auto* t = new vok::Table(store, QLatin1String(name), this);
    t->setTableName(QLatin1String(file));
    t->setFieldDefs(Schema::table(QLatin1String(file)).fields);
    return t;
}

QList<vok::Table*> ProjectCopyTables::tables() const {
    return {CopyProject,   CopyMajor,      CopyAction, CopyProjectTeam,
            CopyMajorTeam, CopyActionTeam, CopyContact};
}

vok::Table* ProjectCopyTables::copyOf(const vok::Table& working) const {
    for (vok::Table* t : tables()) {
        if (t->tableName().compare(working.tableName(), Qt::CaseInsensitive) == 0)
            return t;
    }
    return nullptr;
}

#include "projectcopy.h"

#include "framework/dataset/databaseerror.h"
#include "framework/dataset/table.h"
#include "framework/dataset/transaction.h"
#include "projectcopytables.h"
#include "projectdata.h"
#include "projecthierarchy.h"

#include <QScopeGuard>

ProjectCopy::ProjectCopy(ProjectData& dm, ProjectCopyTables& copies) : dm_(dm), copies_(copies) {}

ProjectCopy::Result ProjectCopy::run() {
    result_ = Result{};
    ProjectHierarchy hierarchy(dm_);
    // What the user typed is stored before the copy starts; a failed copy undoes only itself.
    hierarchy.storePending();
    if (dm_.projects->isEmpty())
        throw vok::DatabaseError::emptyDataset();
    dm_.Contacts->open();
    const auto close = qScopeGuard([this] {
        for (vok::Table* t : copies_.tables())
            t->close();
    });
    for (vok::Table* t : copies_.tables())
        t->open();
    vok::Transaction work(*dm_.store);
    copyLevel(hierarchy, ProjectHierarchy::ProjectLevel, {});
    work.commit();
    return result_;
}

void ProjectCopy::copyLevel(const ProjectHierarchy& hierarchy, int level,
                            const QVariantList& owners) {
    const ProjectHierarchy::Node& node = hierarchy.level(level);
    const QVariantList key = copyRecord(*node.records, owners);
    for (const ProjectHierarchy::Detail& d : node.details) {
        if (!d.copied)
            continue;
        for (d.table->first(); !d.table->eof(); d.table->next())
            copyRecord(*d.table, key);
    }
    if (!node.children)
        return;
    for (node.children->first(); !node.children->eof(); node.children->next())
        copyLevel(hierarchy, level + 1, key);
}

QVariantList ProjectCopy::copyRecord(vok::Table& source, const QVariantList& owners) {
    vok::Table& copy = *copies_.copyOf(source);
    copy.append();
    for (int i = 0; i < copy.fieldCount(); ++i) {
        try {
            copy.field(i).setValue(source.field(i).value());
        } catch (const vok::DatabaseError&) {
            // The record number is the engine's to give; any other field that will not take
            // the value keeps its default.
        }
    }
    const QStringList ownerFields = ProjectHierarchy::ownerFields(source, owners.size());
    for (int k = 0; k < owners.size(); ++k)
        copy.fieldByName(ownerFields[k]).setValue(owners[k]);
    const bool isProject = &source == dm_.projects;
    if (isProject) {
        vok::Field& name = copy.fieldByName(QStringLiteral("Zel_project"));
        // The field keeps its first 100 characters: the prefix stays, the end of the name goes.
        name.setAsString(QStringLiteral("Copy of ") + name.asString());
    }
    copy.post();
    QVariantList key;
    for (const QString& f : source.indexFieldNames())
        key << copy.fieldByName(f).value();
    if (isProject) {
        result_.project = key.value(0).toInt();
        result_.name = copy.fieldByName(QStringLiteral("Zel_project")).asString();
    }
    return key;
}

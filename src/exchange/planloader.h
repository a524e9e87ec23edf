#pragma once

#include <QList>

#include "plan.h"

namespace vok {
class Store;
}

// Reads one project of a data folder into a plan: the project, its major activities and actions
// in the order of their numbers, with notes and teams, and the members the teams name.
class PlanLoader {
public:
    explicit PlanLoader(vok::Store& store);

    // The number of the first project of that name (the lowest); throws when none has it.
    int findProject(const QString& name);
    Plan load(int project);

private:
    // The first column of each row, in order: the numbers of an item's children.
    QList<int> ids(const QString& sql, const QVariantList& key);
    void readItem(Plan::Item& item, const QString& sql, const QVariantList& key);
    void readNotes(Plan::Item& item, const char* table, const char* prefix,
                   const QVariantList& key);
    void readTeam(Plan& plan, Plan::Item& item, const char* table, const char* prefix,
                  const QVariantList& key);

    vok::Store& store_;
};

#pragma once

#include "plan.h"

#include <QStringList>
#include <map>
#include <memory>

namespace vok {
class Store;
class Table;
} // namespace vok

// Stores a plan as a new project of a data folder, with its major activities, actions, notes
// and teams, in one unit of work: all of it or nothing. Members the teams name are matched by
// name, character for character; those not found are added to the member list. Texts longer
// than their fields are cut as typed text is, and each cut is told.
class PlanSaver {
public:
    explicit PlanSaver(vok::Store& store);
    ~PlanSaver();

    struct Result {
        int project = 0;
        QString name; // as stored
        QStringList addedMembers;
        QStringList notices; // what was cut
    };
    // Refuses a name another project has, or a look-alike of one (blanks or invisible characters
    // around it, compatibility forms): a plan never goes over an existing project.
    Result save(const Plan& plan);
    // Whether a project already bears the name a plan of this name would be stored under, or a
    // name that looks the same.
    bool nameTaken(const QString& name);
    // The name of the project whose name looks like `name` (the same once trimmed, compatibility
    // forms folded); null when none does.
    QString takenBy(const QString& name);
    // The name a project of the plan gets: trimmed of blanks and invisible characters, cut to
    // the field.
    static QString storedName(const QString& name);

private:
    vok::Table& table(const char* file);
    // Sets a field from a text; a text longer than the field is cut and the cut told.
    void setText(vok::Table& t, const QString& field, const QString& value, const QString& what);
    // The level of a record: 0 project, 1 major activity, 2 action.
    QVariantList appendItem(int level, const Plan::Item& item, const QVariantList& owners);
    void appendNotes(int level, const Plan::Item& item, const QVariantList& owners);
    void appendTeam(int level, const Plan::Item& item, const QVariantList& owners);
    void matchMembers(const Plan& plan);

    vok::Store& store_;
    std::map<QString, std::unique_ptr<vok::Table>> tables_;
    // Members by name: e-mail and telephone for the team rows.
    std::map<QString, Plan::Member> members_;
    Result result_;
};

#include "planloader.h"

#include "framework/dataset/store.h"

#include <QSqlQuery>
#include <functional>
#include <stdexcept>

namespace {

QDate dateOf(const QVariant& v) {
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().date();
    return QDate::fromString(v.toString().left(10), Qt::ISODate);
}

QDateTime stampOf(const QVariant& v) {
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime();
    return QDateTime::fromString(v.toString().left(19), Qt::ISODate);
}

std::optional<double> numberOf(const QVariant& v) {
    if (v.isNull())
        return std::nullopt;
    return v.toDouble();
}

// "P_project_id = ? AND P_major_id = ?": a detail's rows of the record whose key is given.
QString ownedBy(const QString& prefix, const QVariantList& key) {
    const char* const owners[] = {"_project_id", "_major_id", "_action_id"};
    QStringList parts;
    for (int i = 0; i < key.size(); ++i)
        parts << prefix + QLatin1String(owners[i]) + QStringLiteral(" = ?");
    return parts.join(QStringLiteral(" AND "));
}

// The budgets of every item of a plan read from a project: one query per level.
void readBudgets(vok::Store& store, Plan& plan, int project) {
    const auto each = [&](const char* sql,
                          const std::function<Plan::Item*(const QSqlQuery&)>& item) {
        QSqlQuery q = store.exec(QLatin1String(sql), {project});
        while (q.next()) {
            if (Plan::Item* i = item(q))
                i->budget = numberOf(q.value(0));
        }
    };
    const auto major = [&](int key) -> Plan::Major* {
        for (Plan::Major& m : plan.majors) {
            if (m.key == key)
                return &m;
        }
        return nullptr;
    };
    each("SELECT Zel_Budget FROM projects WHERE Zel_Project_id = ?",
         [&](const QSqlQuery&) { return &plan.project; });
    each("SELECT Major_budget, Major_id FROM major WHERE Major_project_id = ?",
         [&](const QSqlQuery& q) { return major(q.value(1).toInt()); });
    each("SELECT Action_budget, Action_major_id, Action_id FROM action WHERE "
         "Action_project_id = ?",
         [&](const QSqlQuery& q) -> Plan::Item* {
             Plan::Major* m = major(q.value(1).toInt());
             if (!m)
                 return nullptr;
             for (Plan::Item& a : m->actions) {
                 if (a.key == q.value(2).toInt())
                     return &a;
             }
             return nullptr;
         });
}

} // namespace

PlanLoader::PlanLoader(vok::Store& store) : store_(store) {}

int PlanLoader::findProject(const QString& name) {
    QSqlQuery q = store_.exec(QStringLiteral("SELECT Zel_Project_id FROM projects WHERE "
                                             "Zel_project = ? ORDER BY Zel_Project_id"),
                              {name});
    if (!q.next())
        throw std::runtime_error(
            QStringLiteral("no project is named '%1'").arg(name).toStdString());
    return q.value(0).toInt();
}

QList<int> PlanLoader::ids(const QString& sql, const QVariantList& key) {
    QList<int> out;
    QSqlQuery q = store_.exec(sql, key);
    while (q.next())
        out << q.value(0).toInt();
    return out;
}

// Every item query selects, in this order: key, name, description, leader, from, to, completed,
// critical, percent, budget hours, actual hours, actual costs.
void PlanLoader::readItem(Plan::Item& item, const QString& sql, const QVariantList& key) {
    QSqlQuery q = store_.exec(sql, key);
    if (!q.next())
        throw std::runtime_error("the project is gone");
    item.key = q.value(0).toInt();
    item.name = q.value(1).toString();
    item.description = q.value(2).toString();
    item.leader = q.value(3).toString();
    item.from = dateOf(q.value(4));
    item.to = dateOf(q.value(5));
    item.completed = q.value(6).toBool();
    item.critical = q.value(7).toBool();
    item.percent = q.value(8).toInt();
    item.budgetHours = numberOf(q.value(9));
    item.hours = numberOf(q.value(10));
    item.actual = numberOf(q.value(11));
}

void PlanLoader::readNotes(Plan::Item& item, const char* table, const char* prefix,
                           const QVariantList& key) {
    const QString p = QLatin1String(prefix);
    QSqlQuery q = store_.exec(QStringLiteral("SELECT %1_stamp, %1_memberid, %1_note FROM %2 "
                                             "WHERE %3 ORDER BY %1_id")
                                  .arg(p, QLatin1String(table), ownedBy(p, key)),
                              key);
    while (q.next())
        item.notes << Plan::Note{stampOf(q.value(0)), q.value(1).toString(), q.value(2).toString()};
}

void PlanLoader::readTeam(Plan& plan, Plan::Item& item, const char* table, const char* prefix,
                          const QVariantList& key) {
    const QString p = QLatin1String(prefix);
    QSqlQuery q = store_.exec(QStringLiteral("SELECT %1_member, %1_email, %1_tel FROM %2 WHERE "
                                             "%3 ORDER BY %1_id")
                                  .arg(p, QLatin1String(table), ownedBy(p, key)),
                              key);
    while (q.next()) {
        const QString name = q.value(0).toString();
        if (name.isEmpty())
            continue;
        item.team << name;
        const bool known = std::any_of(plan.members.cbegin(), plan.members.cend(),
                                       [&](const Plan::Member& m) { return m.name == name; });
        if (!known)
            plan.members << Plan::Member{name, q.value(1).toString(), q.value(2).toString()};
    }
}

Plan PlanLoader::load(int project) {
    Plan plan;
    const QVariantList p{project};
    readItem(plan.project,
             QStringLiteral("SELECT Zel_Project_id, Zel_project, Zel_description, Zel_leader, "
                            "Zel_date_from, Zel_date_to, Zel_completed, NULL, Zel_perc_complete, "
                            "Zel_budget_hours, Zel_hours, Zel_actual FROM projects WHERE "
                            "Zel_Project_id = ?"),
             p);
    {
        QSqlQuery q = store_.exec(
            QStringLiteral("SELECT Zel_client FROM projects WHERE Zel_Project_id = ?"), p);
        if (q.next())
            plan.client = q.value(0).toString();
    }
    readNotes(plan.project, "Projectnotes", "Projectnotes", p);
    readTeam(plan, plan.project, "ProjectTeam", "ProjectTeam", p);

    const QList<int> majors = ids(QStringLiteral("SELECT Major_id FROM major WHERE "
                                                 "Major_project_id = ? ORDER BY Major_id"),
                                  p);
    for (const int majorId : majors) {
        Plan::Major major;
        const QVariantList m{project, majorId};
        readItem(major,
                 QStringLiteral("SELECT Major_id, Major_item, Major_description, Major_leader, "
                                "Major_from_date, Major_to_date, Major_completed, Major_critical, "
                                "Major_perc_complete, Major_budget_hours, Major_hours, "
                                "Major_actual FROM major WHERE Major_project_id = ? AND "
                                "Major_id = ?"),
                 m);
        readNotes(major, "Majornotes", "Majornotes", m);
        readTeam(plan, major, "MajorTeam", "MajorTeam", m);
        const QList<int> actions =
            ids(QStringLiteral("SELECT Action_id FROM action WHERE Action_project_id = ? AND "
                               "Action_major_id = ? ORDER BY Action_id"),
                m);
        for (const int actionId : actions) {
            Plan::Item action;
            const QVariantList a{project, majorId, actionId};
            readItem(
                action,
                QStringLiteral("SELECT Action_id, Action_name, Action_description, "
                               "Action_responsible, Action_from_date, Action_to_date, "
                               "Action_completed, Action_critical, Action_perc_complete, "
                               "Action_budget_hours, Action_hours, Action_actual FROM action WHERE "
                               "Action_project_id = ? AND Action_major_id = ? AND Action_id = ?"),
                a);
            readNotes(action, "actionnotes", "Actionnotes", a);
            readTeam(plan, action, "actionTeam", "ActionTeam", a);
            major.actions << action;
        }
        plan.majors << major;
    }
    readBudgets(store_, plan, project);
    // A member's own record knows their address and telephone better than a team row's copy.
    for (Plan::Member& member : plan.members) {
        QSqlQuery q = store_.exec(QStringLiteral("SELECT Member_email, Member_tel FROM members "
                                                 "WHERE Member_name = ? ORDER BY Member_id"),
                                  {member.name});
        if (q.next()) {
            member.email = q.value(0).toString();
            member.tel = q.value(1).toString();
        }
    }
    return plan;
}

#include "plansaver.h"

#include "data/schema.h"
#include "framework/dataset/store.h"
#include "framework/dataset/table.h"
#include "framework/dataset/transaction.h"
#include "framework/io/showntext.h"
#include "lookalike.h"

#include <QSqlQuery>
#include <array>
#include <stdexcept>

namespace {

// How each level names its tables and fields.
struct LevelNames {
    const char* file;
    const char* prefix;
    const char* key;
    const char* name;
    const char* leader;
    const char* from;
    const char* to;
    const char* critical; // none for a project
    const char* notesFile;
    const char* notesPrefix;
    const char* teamFile;
    const char* teamPrefix;
    const char* what; // as a message names it
};

const std::array<LevelNames, 3> levels{{
    {"projects.DB", "Zel", "Zel_Project_id", "Zel_project", "Zel_leader", "Zel_date_from",
     "Zel_date_to", nullptr, "Projectnotes.DB", "Projectnotes", "ProjectTeam.DB", "ProjectTeam",
     "Project"},
    {"major.DB", "Major", "Major_id", "Major_item", "Major_leader", "Major_from_date",
     "Major_to_date", "Major_critical", "Majornotes.DB", "Majornotes", "MajorTeam.DB", "MajorTeam",
     "Major activity"},
    {"action.DB", "Action", "Action_id", "Action_name", "Action_responsible", "Action_from_date",
     "Action_to_date", "Action_critical", "actionnotes.DB", "Actionnotes", "actionTeam.DB",
     "ActionTeam", "Action"},
}};

const char* const ownerSuffixes[] = {"_project_id", "_major_id", "_action_id"};

QString field(const char* prefix, const char* suffix) {
    return QLatin1String(prefix) + QLatin1String(suffix);
}

void setOwners(vok::Table& t, const char* prefix, const QVariantList& owners) {
    for (int k = 0; k < owners.size(); ++k)
        t.fieldByName(field(prefix, ownerSuffixes[k])).setValue(owners[k]);
}

QVariant optional(const std::optional<double>& v) {
    return v ? QVariant(*v) : QVariant();
}

// The budget in money: each level spells its field its own way.
void setBudget(vok::Table& t, int level, const Plan::Item& item) {
    const char* const fields[] = {"Zel_Budget", "Major_budget", "Action_budget"};
    t.fieldByName(QLatin1String(fields[level])).setValue(optional(item.budget));
}

} // namespace

PlanSaver::PlanSaver(vok::Store& store) : store_(store) {}

PlanSaver::~PlanSaver() = default;

vok::Table& PlanSaver::table(const char* file) {
    auto& t = tables_[QLatin1String(file)];
    if (!t) {
        t = std::make_unique<vok::Table>(&store_, QLatin1String(file));
        t->setTableName(QLatin1String(file));
        t->setFieldDefs(Schema::table(QLatin1String(file)).fields);
        t->open();
    }
    return *t;
}

void PlanSaver::setText(vok::Table& t, const QString& name, const QString& value,
                        const QString& what) {
    if (value.isEmpty())
        return;
    vok::Field& f = t.fieldByName(name);
    if (f.type() == vok::FieldType::String && value.size() > f.size())
        result_.notices << QStringLiteral("%1 cut to %2 characters: '%3'")
                               .arg(vok::ShownText::escaped(what))
                               .arg(f.size())
                               .arg(vok::ShownText::escaped(value.left(f.size())));
    f.setAsString(value);
}

QVariantList PlanSaver::appendItem(int level, const Plan::Item& item, const QVariantList& owners) {
    const LevelNames& n = levels[static_cast<size_t>(level)];
    vok::Table& t = table(n.file);
    const QString what = QLatin1String(n.what);
    t.append();
    setOwners(t, n.prefix, owners);
    setText(t, QLatin1String(n.name), item.name, what + QStringLiteral(" name"));
    if (!item.description.isEmpty())
        t.fieldByName(field(n.prefix, "_description")).setValue(item.description);
    setText(t, QLatin1String(n.leader), item.leader,
            QStringLiteral("Leader of '%1'").arg(item.name));
    if (item.from.isValid())
        t.fieldByName(QLatin1String(n.from)).setValue(item.from);
    if (item.to.isValid())
        t.fieldByName(QLatin1String(n.to)).setValue(item.to);
    t.fieldByName(field(n.prefix, "_completed")).setValue(item.completed);
    if (n.critical)
        t.fieldByName(QLatin1String(n.critical)).setValue(item.critical);
    t.fieldByName(field(n.prefix, "_perc_complete")).setValue(item.percent);
    t.fieldByName(field(n.prefix, "_budget_hours")).setValue(optional(item.budgetHours));
    setBudget(t, level, item);
    t.fieldByName(field(n.prefix, "_hours")).setValue(optional(item.hours));
    // As a new record starts: no actual costs yet.
    t.fieldByName(field(n.prefix, "_actual")).setValue(item.actual.value_or(0.0));
    t.post();
    QVariantList key = owners;
    key << t.fieldByName(QLatin1String(n.key)).value();
    return key;
}

void PlanSaver::appendNotes(int level, const Plan::Item& item, const QVariantList& owners) {
    const LevelNames& n = levels[static_cast<size_t>(level)];
    vok::Table& t = table(n.notesFile);
    for (const Plan::Note& note : item.notes) {
        t.append();
        setOwners(t, n.notesPrefix, owners);
        if (note.stamp.isValid())
            t.fieldByName(field(n.notesPrefix, "_stamp")).setValue(note.stamp);
        setText(t, field(n.notesPrefix, "_memberid"), note.author,
                QStringLiteral("Author mark of a note of '%1'").arg(item.name));
        if (!note.text.isEmpty())
            t.fieldByName(field(n.notesPrefix, "_note")).setValue(note.text);
        t.post();
    }
}

void PlanSaver::appendTeam(int level, const Plan::Item& item, const QVariantList& owners) {
    const LevelNames& n = levels[static_cast<size_t>(level)];
    vok::Table& t = table(n.teamFile);
    for (const QString& name : item.team) {
        // The member as stored: a look-alike of a name there is takes that name.
        const Plan::Member& m = members_[name];
        t.append();
        setOwners(t, n.teamPrefix, owners);
        setText(t, field(n.teamPrefix, "_member"), m.name,
                QStringLiteral("Member name in the team of '%1'").arg(item.name));
        // The row keeps its own copy of the member's address and telephone, cut to its fields
        // as the member rule cuts them.
        if (!m.email.isEmpty())
            t.fieldByName(field(n.teamPrefix, "_email")).setAsString(m.email);
        if (!m.tel.isEmpty())
            t.fieldByName(field(n.teamPrefix, "_tel")).setAsString(m.tel);
        t.post();
    }
}

void PlanSaver::matchMembers(const Plan& plan) {
    // The members there are, by how their names look: a name the file gives with a blank or an
    // invisible character more is the same member.
    std::map<QString, Plan::Member> known;
    QSqlQuery q = store_.exec(
        QStringLiteral("SELECT Member_name, Member_email, Member_tel FROM members ORDER BY "
                       "Member_id"));
    while (q.next())
        known.try_emplace(
            LookAlike::folded(q.value(0).toString()),
            Plan::Member{q.value(0).toString(), q.value(1).toString(), q.value(2).toString()});
    for (const Plan::Member& wanted : plan.members) {
        if (members_.count(wanted.name))
            continue;
        const QString key = LookAlike::folded(wanted.name);
        if (const auto it = known.find(key); it != known.end()) {
            members_[wanted.name] = it->second;
            continue;
        }
        Plan::Member added = wanted;
        added.name = LookAlike::trimmed(wanted.name);
        vok::Table& t = table("members.DB");
        t.append();
        setText(t, QStringLiteral("Member_name"), added.name, QStringLiteral("Member name"));
        setText(t, QStringLiteral("Member_email"), added.email,
                QStringLiteral("E-mail address of '%1'").arg(added.name));
        setText(t, QStringLiteral("Member_tel"), added.tel,
                QStringLiteral("Telephone of '%1'").arg(added.name));
        t.post();
        members_[wanted.name] = added;
        known[key] = added;
        result_.addedMembers << added.name;
    }
}

QString PlanSaver::storedName(const QString& name) {
    const vok::TableDef& projectsDef = Schema::table(QStringLiteral("projects.DB"));
    const int nameSize =
        projectsDef.fields.at(projectsDef.indexOf(QStringLiteral("Zel_project"))).size;
    return LookAlike::trimmed(name).left(nameSize);
}

QString PlanSaver::takenBy(const QString& name) {
    const QString wanted = LookAlike::folded(storedName(name));
    QSqlQuery q = store_.exec(QStringLiteral("SELECT Zel_project FROM projects"));
    while (q.next()) {
        if (LookAlike::folded(q.value(0).toString()) == wanted)
            return q.value(0).toString();
    }
    return {};
}

bool PlanSaver::nameTaken(const QString& name) {
    return !takenBy(name).isNull();
}

PlanSaver::Result PlanSaver::save(const Plan& plan) {
    result_ = Result{};
    Plan::Item project = plan.project;
    project.name = storedName(plan.project.name);
    if (project.name.isEmpty())
        throw std::runtime_error("the plan names no project; give it a name");
    {
        vok::Transaction work(store_);
        // Inside the unit, which holds the write lock: two imports at once cannot both find the
        // name free.
        if (const QString taken = takenBy(project.name); !taken.isNull())
            throw std::runtime_error(
                QStringLiteral("a project named '%1' exists already; a plan comes in as a new "
                               "project, under a name of its own")
                    .arg(vok::ShownText::escaped(taken))
                    .toStdString());
        matchMembers(plan);
        const QVariantList p = appendItem(0, project, {});
        vok::Table& projects = table("projects.DB");
        if (!plan.client.isEmpty()) {
            projects.edit();
            setText(projects, QStringLiteral("Zel_client"), plan.client, QStringLiteral("Client"));
            projects.post();
        }
        result_.project = p.value(0).toInt();
        result_.name = projects.fieldByName(QStringLiteral("Zel_project")).asString();
        appendNotes(0, plan.project, p);
        appendTeam(0, plan.project, p);
        for (const Plan::Major& major : plan.majors) {
            const QVariantList m = appendItem(1, major, p);
            appendNotes(1, major, m);
            appendTeam(1, major, m);
            for (const Plan::Item& action : major.actions) {
                const QVariantList a = appendItem(2, action, m);
                appendNotes(2, action, a);
                appendTeam(2, action, a);
            }
        }
        work.commit();
    }
    for (auto& entry : tables_)
        entry.second->close();
    return result_;
}

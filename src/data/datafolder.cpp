#include "datafolder.h"

#include "framework/dataset/engineconfig.h"
#include "framework/dataset/store.h"
#include "framework/dataset/transaction.h"
#include "schema.h"

#include <QDir>
#include <QHash>
#include <QList>
#include <QStringList>

using vok::Store;
using vok::Transaction;

namespace {

vok::EngineConfig::Settings engineSettings() {
    vok::EngineConfig config;
    config.initialise();
    return config.settings();
}

QString iso(const QDate& d) {
    return d.toString(Qt::ISODate);
}

// Inserts rows and reports the numbers the engine gave them.
class Writer {
public:
    explicit Writer(Store& store) : store_(store) {}

    qlonglong insert(const QString& table, const QVariantHash& values) {
        QStringList cols;
        QStringList marks;
        QVariantList binds;
        for (auto it = values.constBegin(); it != values.constEnd(); ++it) {
            cols << vok::quotedName(it.key());
            marks << QStringLiteral("?");
            binds << it.value();
        }
        const vok::TableRef ref(store_.engine().mainSchema(), table);
        const auto q = store_.statement(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)%4")
                                            .arg(ref.sql(), cols.join(QLatin1Char(',')),
                                                 marks.join(QLatin1Char(',')),
                                                 store_.engine().returningRowId(ref)),
                                        ref);
        for (int i = 0; i < binds.size(); ++i)
            q->bind(i, binds[i]);
        q->run();
        return q->lastInsertId();
    }

private:
    Store& store_;
};

struct Person {
    const char* name;
    const char* title;
    const char* email;
    const char* tel;
};

const Person people[] = {
    {"Ana Morales", "Project Manager", "ana.morales@example.com", "+1 555 0100"},
    {"Ben Okafor", "Architect", "ben.okafor@example.com", "+1 555 0101"},
    {"Chloé Martin", "Web Developer", "chloe.martin@example.com", "+33 1 55 00 01 02"},
    {"David Kim", "Designer", "david.kim@example.com", "+1 555 0103"},
    {"Eva Lindqvist", "Event Coordinator", "eva.lindqvist@example.com",
     "+46 8 555 010 44 ext. 2201"},
    {"Site Crew", "Construction crew", "crew@example.com", "+1 555 0105"},
};

const Person& person(const char* name) {
    for (const Person& p : people) {
        if (QLatin1String(p.name) == QLatin1String(name))
            return p;
    }
    return people[0];
}

struct ActionPlan {
    const char* name;
    int from; // days after the project start
    int days;
    int percent;
    bool critical;
    bool completed;
    const char* leader;
};

struct MajorPlan {
    const char* name;
    const char* leader;
    QList<ActionPlan> actions;
};

struct ProjectPlan {
    const char* name;
    const char* client;
    const char* leader;
    int startOffset; // days from today
    int days;
    const char* objectives;
    QList<MajorPlan> majors;
    QList<const char*> team;
};

QList<ProjectPlan> plans() {
    return {
        {"Riverside Library Renovation",
         "City of Riverside",
         "Ana Morales",
         -40,
         120,
         "Renovate the reading rooms and the children's wing while the library stays partly "
         "open.\nKeep the historic facade.",
         {{"Design and permits",
           "Ben Okafor",
           {{"Survey existing building", 0, 7, 100, false, true, "Ben Okafor"},
            {"Architectural drawings", 7, 21, 100, false, true, "Ben Okafor"},
            {"Building permit application", 28, 14, 80, true, false, "Ana Morales"}}},
          {"Demolition",
           "Site Crew",
           {{"Strip interior", 42, 10, 40, false, false, "Site Crew"},
            {"Asbestos removal", 45, 12, 10, true, false, "Site Crew"}}},
          {"Construction",
           "Site Crew",
           {{"Structural reinforcement", 57, 20, 0, true, false, "Site Crew"},
            {"Electrical and lighting", 70, 18, 0, false, false, "Site Crew"},
            {"Reading room fit-out", 85, 25, 0, false, false, "Ben Okafor"}}},
          {"Opening",
           "Ana Morales",
           {{"Move collection back", 110, 6, 0, false, false, "Ana Morales"},
            {"Opening ceremony", 119, 1, 0, false, false, "Eva Lindqvist"}}}},
         {"Ana Morales", "Ben Okafor", "Site Crew"}},
        {"Website Relaunch",
         "Northwind Outfitters",
         "Chloé Martin",
         -20,
         75,
         "Move the shop to a new platform with faster pages and a simpler checkout.",
         {{"Discovery",
           "Chloé Martin",
           {{"Stakeholder interviews", 0, 5, 100, false, true, "Chloé Martin"},
            {"Analytics review", 3, 6, 100, false, true, "David Kim"}}},
          {"Design",
           "David Kim",
           {{"Wireframes", 9, 8, 100, false, true, "David Kim"},
            {"Visual design", 17, 12, 60, true, false, "David Kim"}}},
          {"Build",
           "Chloé Martin",
           {{"Content migration", 25, 20, 20, false, false, "Chloé Martin"},
            {"Checkout integration", 30, 25, 10, true, false, "Chloé Martin"},
            {"Performance testing", 55, 8, 0, false, false, "Chloé Martin"}}},
          {"Launch",
           "Ana Morales",
           {{"Go-live", 66, 2, 0, true, false, "Chloé Martin"},
            {"Post-launch review", 70, 5, 0, false, false, "Ana Morales"}}}},
         {"Chloé Martin", "David Kim", "Ana Morales"}},
        {"Annual Conference 2027",
         "Association of Field Engineers",
         "Eva Lindqvist",
         10,
         150,
         "Three days, 400 delegates, two tracks and an exhibition hall.",
         {{"Venue and logistics",
           "Eva Lindqvist",
           {{"Book venue", 0, 14, 50, true, false, "Eva Lindqvist"},
            {"Catering", 30, 20, 0, false, false, "Eva Lindqvist"},
            {"Hotel block", 20, 10, 0, false, false, "Eva Lindqvist"}}},
          {"Programme",
           "Ana Morales",
           {{"Call for papers", 0, 45, 0, false, false, "Ana Morales"},
            {"Speaker schedule", 50, 20, 0, false, false, "Ana Morales"}}},
          {"Promotion",
           "David Kim",
           {{"Email campaign", 40, 60, 0, false, false, "David Kim"},
            {"Sponsor packages", 15, 30, 0, false, false, "Eva Lindqvist"}}}},
         {"Eva Lindqvist", "Ana Morales", "David Kim"}},
        {"Office Move",
         "Internal",
         "Ana Morales",
         -150,
         30,
         "Move the team to the new office on Harbour Street.",
         {{"Planning",
           "Ana Morales",
           {{"Floor plan", 0, 5, 100, false, true, "Ana Morales"},
            {"Movers contract", 5, 3, 100, false, true, "Ana Morales"}}},
          {"Move",
           "Site Crew",
           {{"Pack and label", 20, 5, 100, false, true, "Site Crew"},
            {"Moving day", 27, 1, 100, false, true, "Site Crew"}}}},
         {"Ana Morales", "Site Crew"}},
    };
}

struct Booking {
    int project;
    int major; // index into the plan, -1 for the project as a whole
    int action;
    const char* member;
    int from;
    int days;
    double hours;
    const char* notes;
};

struct Cost {
    int project;
    int major;
    int action;
    int from;
    double amount;
    const char* notes;
};

} // namespace

void DataFolder::create(const QString& dir) {
    Store::createDatabase(dir, Schema::tables(), engineSettings());
}

void DataFolder::createDemo(const QString& dir, const QDate& today) {
    create(dir);
    Store store;
    store.setParams({QStringLiteral("path=") + dir});
    store.open();
    Writer w(store);
    Transaction tx(store);

    for (const Person& p : people)
        w.insert(QStringLiteral("members"),
                 {{QStringLiteral("Member_name"), QString::fromUtf8(p.name)},
                  {QStringLiteral("Member_title"), QString::fromUtf8(p.title)},
                  {QStringLiteral("Member_email"), QString::fromUtf8(p.email)},
                  {QStringLiteral("Member_tel"), QString::fromUtf8(p.tel)}});

    struct Ids {
        qlonglong project = 0;
        QList<qlonglong> majors;
        QList<QList<qlonglong>> actions;
        QDate start;
    };
    QList<Ids> ids;
    const QList<ProjectPlan> all = plans();
    const auto teamRow = [&](const QString& table, const QString& prefix, const QVariantHash& keys,
                             const char* member) {
        const Person& p = person(member);
        QVariantHash v = keys;
        v.insert(prefix + QStringLiteral("_member"), QString::fromUtf8(p.name));
        v.insert(prefix + QStringLiteral("_email"), QString::fromUtf8(p.email));
        v.insert(prefix + QStringLiteral("_tel"), QString::fromUtf8(p.tel).left(20));
        w.insert(table, v);
    };
    for (const ProjectPlan& plan : all) {
        Ids id;
        id.start = today.addDays(plan.startOffset);
        const bool projectDone = plan.startOffset + plan.days < 0;
        id.project =
            w.insert(QStringLiteral("projects"),
                     {{QStringLiteral("Zel_project"), QString::fromUtf8(plan.name)},
                      {QStringLiteral("Zel_description"), QString::fromUtf8(plan.objectives)},
                      {QStringLiteral("Zel_date_from"), iso(id.start)},
                      {QStringLiteral("Zel_date_to"), iso(id.start.addDays(plan.days - 1))},
                      {QStringLiteral("Zel_leader"), QString::fromUtf8(plan.leader)},
                      {QStringLiteral("Zel_client"), QString::fromUtf8(plan.client)},
                      {QStringLiteral("Zel_completed"), projectDone ? 1 : 0},
                      {QStringLiteral("Zel_budget_hours"), 40.0 * plan.majors.size() * 6},
                      {QStringLiteral("Zel_hours"), 0.0},
                      {QStringLiteral("Zel_Budget"), 25000.0 * plan.majors.size()},
                      {QStringLiteral("Zel_actual"), 0.0},
                      {QStringLiteral("Zel_perc_complete"), projectDone ? 100 : 35}});
        const QVariantHash pkey{{QStringLiteral("ProjectTeam_project_id"), id.project}};
        for (const char* m : plan.team)
            teamRow(QStringLiteral("ProjectTeam"), QStringLiteral("ProjectTeam"), pkey, m);
        for (const MajorPlan& major : plan.majors) {
            int first = 1 << 30;
            int last = 0;
            int percent = 0;
            bool critical = false;
            bool completed = true;
            for (const ActionPlan& a : major.actions) {
                first = std::min(first, a.from);
                last = std::max(last, a.from + a.days - 1);
                percent += a.percent;
                critical = critical || (a.critical && !a.completed);
                completed = completed && a.completed;
            }
            percent /= std::max<qsizetype>(1, major.actions.size());
            const qlonglong m =
                w.insert(QStringLiteral("major"),
                         {{QStringLiteral("Major_project_id"), id.project},
                          {QStringLiteral("Major_item"), QString::fromUtf8(major.name)},
                          {QStringLiteral("Major_description"),
                           QStringLiteral("%1 for %2.")
                               .arg(QString::fromUtf8(major.name), QString::fromUtf8(plan.name))},
                          {QStringLiteral("Major_leader"), QString::fromUtf8(major.leader)},
                          {QStringLiteral("Major_from_date"), iso(id.start.addDays(first))},
                          {QStringLiteral("Major_to_date"), iso(id.start.addDays(last))},
                          {QStringLiteral("Major_critical"), critical ? 1 : 0},
                          {QStringLiteral("Major_completed"), completed ? 1 : 0},
                          {QStringLiteral("Major_budget_hours"), 60.0 * major.actions.size()},
                          {QStringLiteral("Major_hours"), 0.0},
                          {QStringLiteral("Major_budget"), 6000.0 * major.actions.size()},
                          {QStringLiteral("Major_actual"), 0.0},
                          {QStringLiteral("Major_perc_complete"), completed ? 100 : percent}});
            id.majors << m;
            teamRow(QStringLiteral("MajorTeam"), QStringLiteral("MajorTeam"),
                    {{QStringLiteral("MajorTeam_project_id"), id.project},
                     {QStringLiteral("MajorTeam_major_id"), m}},
                    major.leader);
            QList<qlonglong> actionIds;
            for (const ActionPlan& a : major.actions) {
                const qlonglong aid = w.insert(
                    QStringLiteral("action"),
                    {{QStringLiteral("Action_project_id"), id.project},
                     {QStringLiteral("Action_major_id"), m},
                     {QStringLiteral("Action_name"), QString::fromUtf8(a.name)},
                     {QStringLiteral("Action_description"),
                      QStringLiteral("Deliver: %1.").arg(QString::fromUtf8(a.name).toLower())},
                     {QStringLiteral("Action_responsible"), QString::fromUtf8(a.leader)},
                     {QStringLiteral("Action_from_date"), iso(id.start.addDays(a.from))},
                     {QStringLiteral("Action_to_date"), iso(id.start.addDays(a.from + a.days - 1))},
                     {QStringLiteral("Action_hours"), 0.0},
                     {QStringLiteral("Action_budget"), 6000.0},
                     {QStringLiteral("Action_actual"), 0.0},
                     {QStringLiteral("Action_critical"), a.critical ? 1 : 0},
                     {QStringLiteral("Action_completed"), a.completed ? 1 : 0},
                     {QStringLiteral("Action_budget_hours"), 60.0},
                     {QStringLiteral("Action_perc_complete"), a.percent}});
                actionIds << aid;
                teamRow(QStringLiteral("actionTeam"), QStringLiteral("ActionTeam"),
                        {{QStringLiteral("ActionTeam_project_id"), id.project},
                         {QStringLiteral("ActionTeam_major_id"), m},
                         {QStringLiteral("ActionTeam_action_id"), aid}},
                        a.leader);
            }
            id.actions << actionIds;
        }
        ids << id;
    }

    // Notes at each level.
    const auto stamp = [&](int project, int day, int hour) {
        return ids[project]
            .start.addDays(day)
            .startOfDay()
            .addSecs(hour * 3600)
            .toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    };
    const struct {
        int project;
        int day;
        const char* who;
        const char* text;
    } projectNotes[] = {
        {0, 1, "AM", "Kick-off held with the library board. Reading room stays open on weekends."},
        {0, 30, "BO", "Permit office asked for a second fire escape drawing; sent on Friday."},
        {1, 2, "CM", "Hosting contract signed; staging server is up."},
        {1, 15, "DK", "Brand colours approved by Northwind's marketing lead."},
        {2, 0, "EL", "Three venues short-listed; site visits next week."},
        {3, 29, "AM", "Move finished one day early. Keys to the old office returned."},
    };
    for (const auto& n : projectNotes)
        w.insert(QStringLiteral("Projectnotes"),
                 {{QStringLiteral("Projectnotes_project_id"), ids[n.project].project},
                  {QStringLiteral("Projectnotes_stamp"), stamp(n.project, n.day, 10)},
                  {QStringLiteral("Projectnotes_memberid"), QLatin1String(n.who)},
                  {QStringLiteral("Projectnotes_note"), QString::fromUtf8(n.text)}});
    w.insert(QStringLiteral("Majornotes"),
             {{QStringLiteral("Majornotes_project_id"), ids[0].project},
              {QStringLiteral("Majornotes_major_id"), ids[0].majors[1]},
              {QStringLiteral("Majornotes_stamp"), stamp(0, 43, 9)},
              {QStringLiteral("Majornotes_memberid"), QStringLiteral("SC")},
              {QStringLiteral("Majornotes_note"),
               QStringLiteral("Asbestos found behind the east wall panels; specialist booked.")}});
    w.insert(QStringLiteral("Majornotes"),
             {{QStringLiteral("Majornotes_project_id"), ids[1].project},
              {QStringLiteral("Majornotes_major_id"), ids[1].majors[2]},
              {QStringLiteral("Majornotes_stamp"), stamp(1, 26, 14)},
              {QStringLiteral("Majornotes_memberid"), QStringLiteral("CM")},
              {QStringLiteral("Majornotes_note"),
               QStringLiteral("Payment provider sandbox access granted.")}});
    w.insert(
        QStringLiteral("actionnotes"),
        {{QStringLiteral("Actionnotes_project_id"), ids[0].project},
         {QStringLiteral("Actionnotes_major_id"), ids[0].majors[0]},
         {QStringLiteral("Actionnotes_action_id"), ids[0].actions[0][2]},
         {QStringLiteral("Actionnotes_stamp"), stamp(0, 29, 16)},
         {QStringLiteral("Actionnotes_memberid"), QStringLiteral("AM")},
         {QStringLiteral("Actionnotes_note"),
          QStringLiteral("Application filed, reference RB-2231. Answer expected in ten days.")}});

    // Contacts.
    const struct {
        int project;
        const char* name;
        const char* title;
        const char* company;
        const char* email;
        const char* tel;
        int ext;
        const char* adr1;
        const char* city;
        const char* state;
        const char* country;
        const char* pcode;
    } contacts[] = {
        {0, "Margaret Hale", "Head Librarian", "Riverside Public Library",
         "m.hale@riverside.example", "+1 555 0200", 12, "12 Main Street", "Riverside", "CA", "USA",
         "92501"},
        {0, "Tom Becker", "Permit Officer", "City of Riverside", "permits@riverside.example",
         "+1 555 0210", 0, "3900 Main Street", "Riverside", "CA", "USA", "92522"},
        {1, "Sofia Russo", "Marketing Lead", "Northwind Outfitters", "sofia@northwind.example",
         "+1 555 0300", 405, "800 Harbor Blvd", "Seattle", "WA", "USA", "98101"},
        {2, "Jonas Berg", "Sales Manager", "Harbour Convention Centre", "jonas@hcc.example",
         "+46 31 555 0400", 0, "Mässans gata 20", "Göteborg", "", "Sweden", "412 51"},
    };
    for (const auto& c : contacts) {
        QVariantHash v{{QStringLiteral("ProjectContact_project_id"), ids[c.project].project},
                       {QStringLiteral("ProjectContact_name"), QString::fromUtf8(c.name)},
                       {QStringLiteral("ProjectContact_title"), QString::fromUtf8(c.title)},
                       {QStringLiteral("ProjectContact_email"), QString::fromUtf8(c.email)},
                       {QStringLiteral("ProjectContact_tel"), QString::fromUtf8(c.tel)},
                       {QStringLiteral("ProjectContact_Company"), QString::fromUtf8(c.company)},
                       {QStringLiteral("ProjectContact_adr1"), QString::fromUtf8(c.adr1)},
                       {QStringLiteral("ProjectContact_City"), QString::fromUtf8(c.city)},
                       {QStringLiteral("ProjectContact_Country"), QString::fromUtf8(c.country)},
                       {QStringLiteral("ProjectContact_PCode"), QString::fromUtf8(c.pcode)}};
        if (c.ext != 0)
            v.insert(QStringLiteral("ProjectContact_ext"), c.ext);
        if (*c.state != '\0')
            v.insert(QStringLiteral("ProjectContact_State"), QString::fromUtf8(c.state));
        w.insert(QStringLiteral("ProjectContact"), v);
    }

    // Merged time sheets and costs, with the totals they raised.
    QHash<qlonglong, double> projectHours, majorHours, actionHours;
    QHash<qlonglong, double> projectCost, majorCost, actionCost;
    const Booking bookings[] = {
        {0, -1, -1, "Ana Morales", 0, 5, 12.0, "Kick-off and planning"},
        {0, 0, 0, "Ben Okafor", 0, 7, 38.5, "Measured survey"},
        {0, 0, 1, "Ben Okafor", 7, 14, 70.0, "Drawings set A"},
        {0, 0, 1, "Ben Okafor", 21, 7, 31.0, "Drawings set B"},
        {0, 0, 2, "Ana Morales", 28, 5, 9.5, "Permit forms"},
        {0, 1, -1, "Site Crew", 35, 3, 16.0, "Site preparation"},
        {1, 0, 0, "Chloé Martin", 0, 5, 20.0, "Interviews"},
        {1, 0, 1, "David Kim", 3, 6, 18.0, ""},
        {1, 1, 0, "David Kim", 9, 8, 42.0, "Wireframes v1 and v2"},
        {1, 1, 1, "David Kim", 17, 3, 14.5, "Home page"},
        {3, 0, 0, "Ana Morales", 0, 5, 10.0, ""},
        {3, 1, 1, "Site Crew", 27, 1, 64.0, "Moving day, eight people"},
    };
    for (const Booking& b : bookings) {
        const Ids& id = ids[b.project];
        const qlonglong m = b.major < 0 ? 0 : id.majors[b.major];
        const qlonglong a = b.action < 0 || b.major < 0 ? 0 : id.actions[b.major][b.action];
        w.insert(QStringLiteral("ProjectTS"),
                 {{QStringLiteral("ProjectTS_project_id"), id.project},
                  {QStringLiteral("ProjectTS_major_id"), m},
                  {QStringLiteral("ProjectTS_action_id"), a},
                  {QStringLiteral("ProjectTS_date_from"), iso(id.start.addDays(b.from))},
                  {QStringLiteral("ProjectTS_member"), QString::fromUtf8(b.member)},
                  {QStringLiteral("ProjectTS_date_to"), iso(id.start.addDays(b.from + b.days - 1))},
                  {QStringLiteral("ProjectTS_hours"), b.hours},
                  {QStringLiteral("ProjectTS_Notes"),
                   *b.notes ? QVariant(QString::fromUtf8(b.notes)) : QVariant()}});
        projectHours[id.project] += b.hours;
        if (m)
            majorHours[m] += b.hours;
        if (a)
            actionHours[a] += b.hours;
    }
    const Cost costs[] = {
        {0, 0, 0, 2, 1850.00, "Laser survey rental"},
        {0, 0, 2, 30, 640.50, "Permit fee"},
        {0, 1, 1, 46, 7200.00, "Asbestos specialist, first invoice"},
        {0, -1, -1, 10, 320.00, "Site signage"},
        {1, 2, 1, 31, 1200.00, "Payment provider set-up"},
        {1, 1, 1, 18, 450.00, "Stock photography"},
        {3, 1, 1, 27, 3900.00, "Movers"},
    };
    for (const Cost& c : costs) {
        const Ids& id = ids[c.project];
        const qlonglong m = c.major < 0 ? 0 : id.majors[c.major];
        const qlonglong a = c.action < 0 || c.major < 0 ? 0 : id.actions[c.major][c.action];
        w.insert(QStringLiteral("ProjectCost"),
                 {{QStringLiteral("ProjectCost_project_id"), id.project},
                  {QStringLiteral("ProjectCost_major_id"), m},
                  {QStringLiteral("ProjectCost_action_id"), a},
                  {QStringLiteral("ProjectCost_date_from"), iso(id.start.addDays(c.from))},
                  {QStringLiteral("ProjectCost_date_to"), iso(id.start.addDays(c.from))},
                  {QStringLiteral("ProjectCost_Amount"), c.amount},
                  {QStringLiteral("ProjectCost_Notes"), QString::fromUtf8(c.notes)}});
        projectCost[id.project] += c.amount;
        if (m)
            majorCost[m] += c.amount;
        if (a)
            actionCost[a] += c.amount;
    }
    for (const Ids& id : ids) {
        store.exec(QStringLiteral("UPDATE projects SET Zel_hours = ?, Zel_actual = ? WHERE "
                                  "Zel_Project_id = ?"),
                   {projectHours.value(id.project), projectCost.value(id.project), id.project});
        for (int i = 0; i < id.majors.size(); ++i) {
            const qlonglong m = id.majors[i];
            store.exec(QStringLiteral("UPDATE major SET Major_hours = ?, Major_actual = ? WHERE "
                                      "Major_id = ?"),
                       {majorHours.value(m), majorCost.value(m), m});
            for (qlonglong a : id.actions[i])
                store.exec(QStringLiteral("UPDATE action SET Action_hours = ?, Action_actual = ? "
                                          "WHERE Action_id = ?"),
                           {actionHours.value(a), actionCost.value(a), a});
        }
    }

    // Pending cost lines, named by project, major activity and action.
    const struct {
        const char* project;
        const char* major;
        const char* action;
        int from;
        double amount;
        const char* notes;
    } pendingCosts[] = {
        {"Riverside Library Renovation", "Demolition", "Strip interior", -3, 980.00, "Skip hire"},
        {"Website Relaunch", "Build", "", -1, 299.00, "Load testing service, one month"},
        {"Annual Conference 2027", "", "", 0, 2500.00, "Venue deposit"},
    };
    for (const auto& c : pendingCosts) {
        QVariantHash v{
            {QStringLiteral("Cost_project"), QString::fromUtf8(c.project)},
            {QStringLiteral("Cost_Date_from"),
             today.addDays(c.from).startOfDay().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"))},
            {QStringLiteral("Cost_Date_to"),
             today.addDays(c.from).startOfDay().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"))},
            {QStringLiteral("Cost_Amount"), c.amount},
            {QStringLiteral("Cost_Notes"), QString::fromUtf8(c.notes)}};
        if (*c.major)
            v.insert(QStringLiteral("Cost_Major"), QString::fromUtf8(c.major));
        if (*c.action)
            v.insert(QStringLiteral("Cost_Action"), QString::fromUtf8(c.action));
        w.insert(QStringLiteral("Costentry"), v);
    }
    tx.commit();

    // One member's pending time sheet, in the member's own file.
    store.createFile(QStringLiteral("Site Crew.db"), Schema::memberTimeSheetFile());
    const vok::TableRef ref = store.resolve(QStringLiteral("Site Crew.db"));
    const struct {
        const char* project;
        const char* major;
        const char* action;
        int from;
        int days;
        double hours;
        const char* notes;
    } lines[] = {
        {"Riverside Library Renovation", "Demolition", "Strip interior", -4, 3, 24.0,
         "Ceiling tiles and carpets out"},
        {"Riverside Library Renovation", "Demolition", "", -1, 1, 6.0, "Skip loading"},
        {"Riverside Library Renovation", "", "", 0, 1, 2.5, "Safety briefing"},
    };
    {
        Transaction fileTx(store);
        for (const auto& l : lines) {
            store.exec(QStringLiteral("INSERT INTO %1 (MemberTS_project, MemberTS_Major, "
                                      "MemberTS_Action, MemberTS_Date_from, MemberTS_Date_to, "
                                      "MemberTS_Hours, MemberTS_Notes) VALUES (?,?,?,?,?,?,?)")
                           .arg(ref.sql()),
                       {QString::fromUtf8(l.project),
                        *l.major ? QVariant(QString::fromUtf8(l.major)) : QVariant(),
                        *l.action ? QVariant(QString::fromUtf8(l.action)) : QVariant(),
                        iso(today.addDays(l.from)), iso(today.addDays(l.from + l.days - 1)),
                        l.hours, QString::fromUtf8(l.notes)});
        }
        fileTx.commit();
    }
    store.release(ref);
    store.close();
}

void DataFolder::createSized(const QString& dir, int projects, int majors, int actions) {
    create(dir);
    Store store;
    store.setParams({QStringLiteral("path=") + dir});
    store.open();
    {
        Transaction tx(store);
        const auto p = store.statement(QStringLiteral(
            "INSERT INTO projects (Zel_Project_id, Zel_project, Zel_description, Zel_date_from, "
            "Zel_date_to, Zel_leader, Zel_client, Zel_completed, Zel_perc_complete, Zel_actual) "
            "VALUES (?,?,?,?,?,?,?,?,0,0)"));
        const auto m = store.statement(QStringLiteral(
            "INSERT INTO major (Major_project_id, Major_id, Major_item, Major_leader, "
            "Major_from_date, Major_to_date, Major_critical, Major_completed, "
            "Major_perc_complete, Major_actual) VALUES (?,?,?,?,?,?,?,?,0,0)"));
        const auto a = store.statement(QStringLiteral(
            "INSERT INTO action (Action_project_id, Action_major_id, Action_id, Action_name, "
            "Action_responsible, Action_from_date, Action_to_date, Action_critical, "
            "Action_completed, Action_perc_complete, Action_actual) "
            "VALUES (?,?,?,?,?,?,?,?,?,0,0)"));
        const auto bindAll = [](vok::Statement& q, const QVariantList& values) {
            q.reset();
            for (int i = 0; i < values.size(); ++i)
                q.bind(i, values[i]);
            q.run();
        };
        const QDate start(2024, 1, 1);
        qlonglong majorId = 0;
        qlonglong actionId = 0;
        for (int pi = 1; pi <= projects; ++pi) {
            const QDate ps = start.addDays(pi % 200);
            bindAll(*p, {pi, QStringLiteral("Project %1").arg(pi),
                         QStringLiteral("Objectives of project %1").arg(pi), iso(ps),
                         iso(ps.addDays(100)), QStringLiteral("Leader %1").arg(pi % 17),
                         QStringLiteral("Client %1").arg(pi % 31), false});
            for (int mi = 1; mi <= majors; ++mi) {
                ++majorId;
                bindAll(*m, {pi, majorId, QStringLiteral("Major %1.%2").arg(pi).arg(mi),
                             QStringLiteral("Leader %1").arg(mi), iso(ps.addDays(mi * 5)),
                             iso(ps.addDays(mi * 5 + 20)), false, false});
                for (int ai = 1; ai <= actions; ++ai) {
                    ++actionId;
                    bindAll(*a, {pi, majorId, actionId,
                                 QStringLiteral("Action %1.%2.%3").arg(pi).arg(mi).arg(ai),
                                 QStringLiteral("Member %1").arg(ai), iso(ps.addDays(mi * 5 + ai)),
                                 iso(ps.addDays(mi * 5 + ai + 3)), false, false});
                }
            }
        }
        // The numbers were given here: new records continue after them.
        for (const char* table : {"projects", "major", "action"})
            store.syncAutoIncrement(QLatin1String(table));
        tx.commit();
    }
    store.close();
}

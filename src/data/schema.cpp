#include "schema.h"

#include "framework/dataset/databaseerror.h"
#include "framework/io/plainfilename.h"

using vok::FieldDef;
using vok::FieldType;
using vok::IndexDef;
using vok::TableDef;

namespace {

FieldDef autoInc(const char* n) {
    return {QLatin1String(n), FieldType::AutoInc, 0};
}
FieldDef integer(const char* n) {
    return {QLatin1String(n), FieldType::Integer, 0};
}
FieldDef text(const char* n, int size) {
    return {QLatin1String(n), FieldType::String, size};
}
FieldDef memo(const char* n, int size) {
    return {QLatin1String(n), FieldType::Memo, size};
}
FieldDef date(const char* n) {
    return {QLatin1String(n), FieldType::Date, 0};
}
FieldDef dateTime(const char* n) {
    return {QLatin1String(n), FieldType::DateTime, 0};
}
FieldDef boolean(const char* n) {
    return {QLatin1String(n), FieldType::Boolean, 0};
}
FieldDef real(const char* n) {
    return {QLatin1String(n), FieldType::Float, 0};
}
FieldDef money(const char* n) {
    return {QLatin1String(n), FieldType::Currency, 0};
}

IndexDef index(const char* name, std::initializer_list<const char*> fields) {
    IndexDef i;
    i.name = QLatin1String(name);
    for (const char* f : fields)
        i.fields << QLatin1String(f);
    return i;
}

QList<TableDef> build() {
    QList<TableDef> t;
    t << TableDef{QStringLiteral("projects"),
                  {autoInc("Zel_Project_id"), text("Zel_project", 100),
                   memo("Zel_description", 200), date("Zel_date_from"), date("Zel_date_to"),
                   text("Zel_leader", 60), text("Zel_client", 60), boolean("Zel_completed"),
                   real("Zel_budget_hours"), real("Zel_hours"), money("Zel_Budget"),
                   money("Zel_actual"), integer("Zel_perc_complete")},
                  {}};
    t << TableDef{QStringLiteral("major"),
                  {integer("Major_project_id"), autoInc("Major_id"), text("Major_item", 100),
                   memo("Major_description", 200), text("Major_leader", 60),
                   date("Major_from_date"), date("Major_to_date"), boolean("Major_critical"),
                   boolean("Major_completed"), real("Major_budget_hours"), real("Major_hours"),
                   money("Major_budget"), money("Major_actual"), integer("Major_perc_complete")},
                  {index("major_key", {"Major_project_id", "Major_id"})}};
    t << TableDef{QStringLiteral("action"),
                  {integer("Action_project_id"), integer("Action_major_id"), autoInc("Action_id"),
                   text("Action_name", 100), memo("Action_description", 200),
                   text("Action_responsible", 60), date("Action_from_date"), date("Action_to_date"),
                   real("Action_hours"), money("Action_budget"), money("Action_actual"),
                   boolean("Action_critical"), boolean("Action_completed"),
                   real("Action_budget_hours"), integer("Action_perc_complete")},
                  {index("action_key", {"Action_project_id", "Action_major_id", "Action_id"})}};
    t << TableDef{QStringLiteral("Projectnotes"),
                  {integer("Projectnotes_project_id"), autoInc("Projectnotes_id"),
                   dateTime("Projectnotes_stamp"), text("Projectnotes_memberid", 10),
                   memo("Projectnotes_note", 200)},
                  {index("projectnotes_key", {"Projectnotes_project_id", "Projectnotes_id"})}};
    t << TableDef{QStringLiteral("Majornotes"),
                  {integer("Majornotes_project_id"), integer("Majornotes_major_id"),
                   autoInc("Majornotes_id"), dateTime("Majornotes_stamp"),
                   text("Majornotes_memberid", 10), memo("Majornotes_note", 200)},
                  {index("majornotes_key",
                         {"Majornotes_project_id", "Majornotes_major_id", "Majornotes_id"})}};
    t << TableDef{QStringLiteral("actionnotes"),
                  {integer("Actionnotes_project_id"), integer("Actionnotes_major_id"),
                   integer("Actionnotes_action_id"), autoInc("Actionnotes_id"),
                   dateTime("Actionnotes_stamp"), text("Actionnotes_memberid", 10),
                   memo("Actionnotes_note", 200)},
                  {index("actionnotes_key", {"Actionnotes_project_id", "Actionnotes_major_id",
                                             "Actionnotes_action_id", "Actionnotes_id"})}};
    t << TableDef{QStringLiteral("ProjectTeam"),
                  {integer("ProjectTeam_project_id"), autoInc("ProjectTeam_id"),
                   text("ProjectTeam_member", 60), text("ProjectTeam_email", 100),
                   text("ProjectTeam_tel", 20)},
                  {index("projectteam_key", {"ProjectTeam_project_id", "ProjectTeam_id"})}};
    t << TableDef{
        QStringLiteral("MajorTeam"),
        {integer("MajorTeam_project_id"), integer("MajorTeam_major_id"), autoInc("MajorTeam_id"),
         text("MajorTeam_member", 60), text("MajorTeam_email", 100), text("MajorTeam_tel", 20)},
        {index("majorteam_key", {"MajorTeam_project_id", "MajorTeam_major_id", "MajorTeam_id"})}};
    t << TableDef{QStringLiteral("actionTeam"),
                  {integer("ActionTeam_project_id"), integer("ActionTeam_major_id"),
                   integer("ActionTeam_action_id"), autoInc("ActionTeam_id"),
                   text("ActionTeam_member", 60), text("ActionTeam_email", 100),
                   text("ActionTeam_tel", 20)},
                  {index("actionteam_key", {"ActionTeam_project_id", "ActionTeam_major_id",
                                            "ActionTeam_action_id", "ActionTeam_id"})}};
    t << TableDef{QStringLiteral("members"),
                  {autoInc("Member_id"), text("Member_name", 100), text("Member_title", 100),
                   text("Member_email", 60), text("Member_tel", 60)},
                  {}};
    t << TableDef{QStringLiteral("ProjectContact"),
                  {integer("ProjectContact_project_id"), autoInc("Projectnotes_id"),
                   text("ProjectContact_name", 100), text("ProjectContact_title", 100),
                   text("ProjectContact_email", 100), text("ProjectContact_tel", 20),
                   integer("ProjectContact_ext"), text("ProjectContact_Company", 100),
                   text("ProjectContact_adr1", 100), text("ProjectContact_adr2", 100),
                   text("ProjectContact_City", 100), text("ProjectContact_State", 100),
                   text("ProjectContact_Country", 100), text("ProjectContact_PCode", 20)},
                  {index("projectcontact_key", {"ProjectContact_project_id", "Projectnotes_id"})}};
    t << TableDef{
        QStringLiteral("ProjectTS"),
        {integer("ProjectTS_project_id"), integer("ProjectTS_major_id"),
         integer("ProjectTS_action_id"), date("ProjectTS_date_from"), autoInc("ProjectTS_id"),
         text("ProjectTS_member", 60), date("ProjectTS_date_to"), real("ProjectTS_hours"),
         memo("ProjectTS_Notes", 200)},
        {index("projectts_key", {"ProjectTS_project_id", "ProjectTS_major_id",
                                 "ProjectTS_action_id", "ProjectTS_date_from", "ProjectTS_id"})}};
    t << TableDef{QStringLiteral("ProjectCost"),
                  {integer("ProjectCost_project_id"), integer("ProjectCost_major_id"),
                   integer("ProjectCost_action_id"), date("ProjectCost_date_from"),
                   autoInc("ProjectCost_id"), date("ProjectCost_date_to"),
                   money("ProjectCost_Amount"), memo("ProjectCost_Notes", 200)},
                  {index("projectcost_key",
                         {"ProjectCost_project_id", "ProjectCost_major_id", "ProjectCost_action_id",
                          "ProjectCost_date_from", "ProjectCost_id"})}};
    t << TableDef{QStringLiteral("Costentry"),
                  {autoInc("Cost_id"), text("Cost_project", 100), text("Cost_Major", 100),
                   text("Cost_Action", 100), dateTime("Cost_Date_from"), dateTime("Cost_Date_to"),
                   money("Cost_Amount"), memo("Cost_Notes", 1)},
                  {}};
    return t;
}

} // namespace

const QList<TableDef>& Schema::tables() {
    static const QList<TableDef> all = build();
    return all;
}

const TableDef& Schema::table(const QString& name) {
    QString base = name;
    if (const int dot = base.lastIndexOf(QLatin1Char('.')); dot > 0)
        base.truncate(dot);
    for (const TableDef& t : tables()) {
        if (t.name.compare(base, Qt::CaseInsensitive) == 0)
            return t;
    }
    throw vok::DatabaseError(QStringLiteral("No table %1 in the schema").arg(name));
}

QString Schema::fileName(const QString& table) {
    const QString name = Schema::table(table).name;
    return name +
           (name == QLatin1String("Costentry") ? QStringLiteral(".db") : QStringLiteral(".DB"));
}

bool Schema::isSharedTableName(const QString& baseName) {
    for (const TableDef& t : tables()) {
        if (t.name.compare(baseName, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString Schema::sheetFileRefusal(const QString& fileName) {
    if (QString why = vok::PlainFileName::refusal(fileName); !why.isEmpty())
        return why;
    if (!fileName.endsWith(QLatin1String(".db"), Qt::CaseInsensitive))
        return QStringLiteral("it does not end in .db");
    const QString base = fileName.chopped(3);
    if (base.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive))
        return QStringLiteral("the storage engine keeps names beginning with sqlite_ for itself");
    if (isSharedTableName(base))
        return QStringLiteral("the data folder uses that name for a shared table");
    return {};
}

const TableDef& Schema::memberTimeSheetFile() {
    static const TableDef def{
        QStringLiteral("memberts"),
        {autoInc("MemberTS_id"), text("MemberTS_member", 60), text("MemberTS_project", 100),
         text("MemberTS_Major", 100), text("MemberTS_Action", 100), dateTime("MemberTS_Date_from"),
         dateTime("MemberTS_Date_to"), real("MemberTS_Hours"), memo("MemberTS_Notes", 0)},
        {}};
    return def;
}

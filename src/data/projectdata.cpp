#include "projectdata.h"

#include "framework/ui/clock.h"
#include "schema.h"

using vok::Field;
using vok::FieldDef;
using vok::FieldType;
using vok::Table;

namespace {

QStringList names(std::initializer_list<const char*> list) {
    QStringList out;
    for (const char* n : list)
        out << QLatin1String(n);
    return out;
}

FieldDef calcName(const char* name) {
    return FieldDef{QLatin1String(name), FieldType::String, 20};
}

void setFlagTexts(Table* t, const char* field, const char* texts) {
    t->fieldByName(QLatin1String(field)).setDisplayValues(QLatin1String(texts));
}

} // namespace

ProjectData::ProjectData(QObject* parent) : QObject(parent), store(new vok::Store(this)) {
    setObjectName(QStringLiteral("DataModule2"));
    store->setObjectName(QStringLiteral("Database1"));
    build();
}

ProjectData::ProjectData(ProjectData* owner) : store(owner->store), owner_(owner) {
    setObjectName(QStringLiteral("DataModule2Walks"));
    printProjectSource_ = [owner] { return owner->printProject(); };
    build();
}

void ProjectData::build() {

    projects = makeTable("projects", QStringLiteral("projects.DB"));
    Major = makeTable("Major", QStringLiteral("major.DB"));
    Action = makeTable("Action", QStringLiteral("action.DB"));
    ProjectNotes = makeTable("ProjectNotes", QStringLiteral("Projectnotes.DB"));
    MajorNotes = makeTable("MajorNotes", QStringLiteral("Majornotes.DB"));
    ActionNotes = makeTable("ActionNotes", QStringLiteral("actionnotes.DB"));
    ProjectTeam = makeTable("ProjectTeam", QStringLiteral("ProjectTeam.DB"));
    MajorTeam = makeTable("MajorTeam", QStringLiteral("MajorTeam.DB"));
    ActionTeam = makeTable("ActionTeam", QStringLiteral("actionTeam.DB"));
    Members = makeTable("Members", QStringLiteral("members.DB"));
    Contacts = makeTable("Contacts", QStringLiteral("ProjectContact.DB"));
    ProjectTS = makeTable("ProjectTS", QStringLiteral("ProjectTS.DB"));
    MajorTS = makeTable("MajorTS", QStringLiteral("ProjectTS.DB"));
    ActionTS = makeTable("ActionTS", QStringLiteral("ProjectTS.DB"));
    TimeSheets = makeTable("TimeSheets", QStringLiteral("ProjectTS.DB"));
    ProjectCost = makeTable("ProjectCost", QStringLiteral("ProjectCost.DB"));
    MajorCost = makeTable("MajorCost", QStringLiteral("ProjectCost.DB"));
    ActionCost = makeTable("ActionCost", QStringLiteral("ProjectCost.DB"));
    Costs = makeTable("Costs", QStringLiteral("ProjectCost.DB"));
    CostEntry = makeTable("CostEntry", QStringLiteral("Costentry.db"));

    // MemberTS reads a personal file; its file name is set before every opening.
    MemberTS = new Table(store, QStringLiteral("MemberTS"), this);
    MemberTS->setTableName(QStringLiteral("memberts.DB"));
    {
        QList<FieldDef> defs = vok::TableDef(Schema::memberTimeSheetFile()).fields;
        defs.removeFirst(); // MemberTS_id has no field of its own
        for (FieldDef& d : defs) {
            if (d.type == FieldType::DateTime)
                d.type = FieldType::Date; // read and written as calendar dates
        }
        MemberTS->setFieldDefs(defs);
    }

    // Order and links.
    projects->setIndexFieldNames(names({"Zel_Project_id"}));
    Major->setIndexFieldNames(names({"Major_project_id", "Major_id"}));
    Major->setMaster(projects, names({"Zel_Project_id"}));
    Action->setIndexFieldNames(names({"Action_project_id", "Action_major_id", "Action_id"}));
    Action->setMaster(Major, names({"Major_project_id", "Major_id"}));

    const QStringList projectKey = names({"Zel_Project_id"});
    const QStringList majorKey = names({"Major_project_id", "Major_id"});
    const QStringList actionKey = names({"Action_project_id", "Action_major_id", "Action_id"});

    ProjectNotes->setIndexFieldNames(names({"Projectnotes_project_id", "Projectnotes_id"}));
    ProjectNotes->setMaster(projects, projectKey);
    MajorNotes->setIndexFieldNames(
        names({"Majornotes_project_id", "Majornotes_major_id", "Majornotes_id"}));
    MajorNotes->setMaster(Major, majorKey);
    ActionNotes->setIndexFieldNames(names({"Actionnotes_project_id", "Actionnotes_major_id",
                                           "Actionnotes_action_id", "Actionnotes_id"}));
    ActionNotes->setMaster(Action, actionKey);

    ProjectTeam->setIndexFieldNames(names({"ProjectTeam_project_id", "ProjectTeam_id"}));
    ProjectTeam->setMaster(projects, projectKey);
    MajorTeam->setIndexFieldNames(
        names({"MajorTeam_project_id", "MajorTeam_major_id", "MajorTeam_id"}));
    MajorTeam->setMaster(Major, majorKey);
    ActionTeam->setIndexFieldNames(names(
        {"ActionTeam_project_id", "ActionTeam_major_id", "ActionTeam_action_id", "ActionTeam_id"}));
    ActionTeam->setMaster(Action, actionKey);

    Contacts->setIndexFieldNames(names({"ProjectContact_project_id", "Projectnotes_id"}));
    Contacts->setMaster(projects, projectKey);

    const QStringList tsIndex =
        names({"ProjectTS_project_id", "ProjectTS_major_id", "ProjectTS_action_id",
               "ProjectTS_date_from", "ProjectTS_id"});
    for (Table* t : {ProjectTS, MajorTS, ActionTS})
        t->setIndexFieldNames(tsIndex);
    ProjectTS->setMaster(projects, projectKey);
    MajorTS->setMaster(Major, majorKey);
    ActionTS->setMaster(Action, actionKey);

    const QStringList costIndex =
        names({"ProjectCost_project_id", "ProjectCost_major_id", "ProjectCost_action_id",
               "ProjectCost_date_from", "ProjectCost_id"});
    for (Table* t : {ProjectCost, MajorCost, ActionCost})
        t->setIndexFieldNames(costIndex);
    ProjectCost->setMaster(projects, projectKey);
    MajorCost->setMaster(Major, majorKey);
    ActionCost->setMaster(Action, actionKey);

    // Calculated names.
    for (Table* t : {ProjectTS, MajorTS, ActionTS}) {
        t->addCalculatedField(calcName("ProjectName"));
        t->addCalculatedField(calcName("MajorName"));
        t->addCalculatedField(calcName("ActionName"));
    }
    ProjectCost->addCalculatedField(calcName("majorname"));
    ProjectCost->addCalculatedField(calcName("actionname"));

    // Flag texts.
    setFlagTexts(projects, "Zel_completed", "Completed;Not Completed");
    setFlagTexts(Major, "Major_critical", "Critical;Non-Critical");
    setFlagTexts(Major, "Major_completed", "Completed;Not Completed");
    setFlagTexts(Action, "Action_critical", "Critical;Non Critical");
    setFlagTexts(Action, "Action_completed", "Completed;Not Completed");

    // Rules.
    // A budget is what may be spent: never below nothing.
    for (const auto& [t, fields] :
         {std::pair{projects, names({"Zel_budget_hours", "Zel_Budget"})},
          std::pair{Major, names({"Major_budget_hours", "Major_budget"})},
          std::pair{Action, names({"Action_budget_hours", "Action_budget"})}}) {
        for (const QString& f : fields)
            t->fieldByName(f).setNumberRule([](double value, const QString& text) {
                return value < 0 ? QStringLiteral("'%1' is refused: a budget cannot be negative")
                                       .arg(text)
                                 : QString();
            });
    }
    projects->onNewRecord = [this](Table& t) { projectsNewRecord(t); };
    Major->onNewRecord = [this](Table& t) { MajorNewRecord(t); };
    Action->onNewRecord = [this](Table& t) { ActionNewRecord(t); };
    MemberTS->onNewRecord = [this](Table& t) { MemberTSNewRecord(t); };
    projects->onFilterRecord = [this](Table& t) { return projectsFilterRecord(t); };
    projects->setFilterNarrowing(QStringLiteral("Zel_project"), [this] { return printProject(); });
    ProjectTS->onCalcFields = [this](Table& t) { ProjectTSCalcFields(t); };
    MajorTS->onCalcFields = [this](Table& t) { MajorTSCalcFields(t); };
    ActionTS->onCalcFields = [this](Table& t) { ActionTSCalcFields(t); };
    ProjectCost->onCalcFields = [this](Table& t) { ProjectCostCalcFields(t); };
    ProjectTeam->fieldByName(QStringLiteral("ProjectTeam_member")).setOnChange([this](Field& f) {
        ProjectTeamProjectTeam_memberChange(f);
    });
    MajorTeam->fieldByName(QStringLiteral("MajorTeam_member")).setOnChange([this](Field& f) {
        MajorTeamMajorTeam_memberChange(f);
    });
    ActionTeam->fieldByName(QStringLiteral("ActionTeam_member")).setOnChange([this](Field& f) {
        ActionTeamActionTeam_memberChange(f);
    });
}

ProjectData::~ProjectData() {
    walks_.reset();
    if (owner_)
        return; // the owner's connection
    try {
        store->close();
    } catch (...) {
    }
}

ProjectData& ProjectData::walks() {
    if (owner_)
        return *this;
    if (!walks_) {
        walks_.reset(new ProjectData(this));
        if (projects->isActive()) {
            walks_->DataPath = DataPath;
            walks_->openWorkingTables();
        }
    }
    return *walks_;
}

void ProjectData::refreshCurrentRecords() {
    for (Table* t : {projects, Major, Action}) {
        if (t->isActive() && !t->isEditing())
            t->refreshRecord();
    }
}

void ProjectData::refreshAll() {
    // The roots: every detail reads its range again when next used.
    for (Table* t : {projects, Members}) {
        if (t->isActive())
            t->refresh();
    }
}

void ProjectData::followShownProject() {
    if (!owner_ || owner_->projects->isEmpty())
        return;
    const QString key = QStringLiteral("Zel_Project_id");
    projects->locate(key, owner_->projects->fieldByName(key).value());
}

void ProjectData::walkWrote() {
    if (owner_) {
        owner_->walkWrote();
        return;
    }
    refreshCurrentRecords();
    for (Table* t : {ProjectTS, MajorTS, ActionTS, ProjectCost, MajorCost, ActionCost}) {
        if (t->isActive() && !t->isEditing())
            t->refresh();
    }
}

Table* ProjectData::makeTable(const char* name, const QString& file) {
    auto* t = new Table(store, QLatin1String(name), this);
    t->setTableName(file);
    t->setFieldDefs(Schema::table(file).fields);
    return t;
}

QList<Table*> ProjectData::tables() const {
    return {projects,   Major,      Action,      ProjectNotes, MajorNotes, ActionNotes, ProjectTeam,
            MajorTeam,  ActionTeam, Members,     Contacts,     ProjectTS,  MajorTS,     ActionTS,
            TimeSheets, MemberTS,   ProjectCost, MajorCost,    ActionCost, Costs,       CostEntry};
}

void ProjectData::connectTo(const QString& dataPath) {
    store->setParams({QStringLiteral("path=") + dataPath});
}

void ProjectData::openWorkingTables() {
    for (Table* t : {projects, Major, Action, ProjectNotes, MajorNotes, ActionNotes, ProjectTeam,
                     MajorTeam, ActionTeam, Members, Contacts})
        t->open();
    if (walks_) {
        walks_->DataPath = DataPath;
        walks_->openWorkingTables();
    }
}

void ProjectData::setPrintProjectSource(std::function<QString()> source) {
    printProjectSource_ = std::move(source);
}

QString ProjectData::printProject() const {
    return printProjectSource_ ? printProjectSource_() : printProjectFallback_;
}

// ---------------------------------------------------------------- new-record defaults

void ProjectData::projectsNewRecord(Table& t) {
    const QDate today = vok::Clock::today();
    t.fieldByName(QStringLiteral("Zel_date_from")).setAsDate(today);
    t.fieldByName(QStringLiteral("Zel_date_to")).setAsDate(today);
    t.fieldByName(QStringLiteral("Zel_completed")).setAsBoolean(false);
    t.fieldByName(QStringLiteral("Zel_perc_complete")).setAsInteger(0);
    t.fieldByName(QStringLiteral("Zel_actual")).setAsFloat(0);
}

void ProjectData::MajorNewRecord(Table& t) {
    const QDate today = vok::Clock::today();
    t.fieldByName(QStringLiteral("Major_from_date")).setAsDate(today);
    t.fieldByName(QStringLiteral("Major_to_date")).setAsDate(today);
    t.fieldByName(QStringLiteral("Major_critical")).setAsBoolean(false);
    t.fieldByName(QStringLiteral("Major_completed")).setAsBoolean(false);
    t.fieldByName(QStringLiteral("Major_perc_complete")).setAsInteger(0);
    t.fieldByName(QStringLiteral("Major_actual")).setAsFloat(0);
}

void ProjectData::ActionNewRecord(Table& t) {
    const QDate today = vok::Clock::today();
    t.fieldByName(QStringLiteral("Action_from_date")).setAsDate(today);
    t.fieldByName(QStringLiteral("Action_to_date")).setAsDate(today);
    t.fieldByName(QStringLiteral("Action_critical")).setAsBoolean(false);
    t.fieldByName(QStringLiteral("Action_completed")).setAsBoolean(false);
    t.fieldByName(QStringLiteral("Action_perc_complete")).setAsInteger(0);
    t.fieldByName(QStringLiteral("Action_actual")).setAsFloat(0);
}

void ProjectData::MemberTSNewRecord(Table& t) {
    const QDate today = vok::Clock::today();
    t.fieldByName(QStringLiteral("MemberTS_Date_from")).setAsDate(today);
    t.fieldByName(QStringLiteral("MemberTS_Date_to")).setAsDate(today);
    t.fieldByName(QStringLiteral("MemberTS_Hours")).setAsFloat(0);
}

// ---------------------------------------------------------------- member copy

void ProjectData::copyMember(Field& member, const QString& emailField, const QString& telField) {
    Table& team = *member.table();
    if (!team.isEditing())
        return;
    const QString name = member.asString();
    Field& memberName = Members->fieldByName(QStringLiteral("Member_name"));
    Members->first();
    while (!Members->eof()) {
        if (memberName.asString() == name) {
            team.fieldByName(emailField)
                .setAsString(Members->fieldByName(QStringLiteral("Member_email")).asString());
            // The team row's telephone holds 20 characters; the field cuts the rest.
            team.fieldByName(telField).setAsString(
                Members->fieldByName(QStringLiteral("Member_tel")).asString());
            return;
        }
        Members->next();
    }
}

void ProjectData::ProjectTeamProjectTeam_memberChange(Field& f) {
    copyMember(f, QStringLiteral("ProjectTeam_email"), QStringLiteral("ProjectTeam_tel"));
}

void ProjectData::MajorTeamMajorTeam_memberChange(Field& f) {
    copyMember(f, QStringLiteral("MajorTeam_email"), QStringLiteral("MajorTeam_tel"));
}

void ProjectData::ActionTeamActionTeam_memberChange(Field& f) {
    copyMember(f, QStringLiteral("ActionTeam_email"), QStringLiteral("ActionTeam_tel"));
}

// ---------------------------------------------------------------- filter and calculated names

bool ProjectData::projectsFilterRecord(Table& t) {
    return t.fieldByName(QStringLiteral("Zel_project")).asString() == printProject();
}

QString ProjectData::majorName(const QVariant& project, const QVariant& major) const {
    return Major->lookup({project, major}, QStringLiteral("Major_item")).toString();
}

QString ProjectData::actionName(const QVariant& project, const QVariant& major,
                                const QVariant& action) const {
    return Action->lookup({project, major, action}, QStringLiteral("Action_name")).toString();
}

void ProjectData::ProjectTSCalcFields(Table& t) {
    const QVariant p = t.fieldByName(QStringLiteral("ProjectTS_project_id")).value();
    const QVariant m = t.fieldByName(QStringLiteral("ProjectTS_major_id")).value();
    const QVariant a = t.fieldByName(QStringLiteral("ProjectTS_action_id")).value();
    t.fieldByName(QStringLiteral("ProjectName"))
        .setAsString(projects->fieldByName(QStringLiteral("Zel_project")).asString());
    t.fieldByName(QStringLiteral("MajorName")).setAsString(majorName(p, m));
    t.fieldByName(QStringLiteral("ActionName")).setAsString(actionName(p, m, a));
}

void ProjectData::MajorTSCalcFields(Table& t) {
    const QVariant p = t.fieldByName(QStringLiteral("ProjectTS_project_id")).value();
    const QVariant m = t.fieldByName(QStringLiteral("ProjectTS_major_id")).value();
    const QVariant a = t.fieldByName(QStringLiteral("ProjectTS_action_id")).value();
    t.fieldByName(QStringLiteral("ProjectName"))
        .setAsString(projects->fieldByName(QStringLiteral("Zel_project")).asString());
    t.fieldByName(QStringLiteral("MajorName"))
        .setAsString(Major->fieldByName(QStringLiteral("Major_item")).asString());
    t.fieldByName(QStringLiteral("ActionName")).setAsString(actionName(p, m, a));
}

void ProjectData::ActionTSCalcFields(Table& t) {
    t.fieldByName(QStringLiteral("ProjectName"))
        .setAsString(projects->fieldByName(QStringLiteral("Zel_project")).asString());
    t.fieldByName(QStringLiteral("MajorName"))
        .setAsString(Major->fieldByName(QStringLiteral("Major_item")).asString());
    t.fieldByName(QStringLiteral("ActionName"))
        .setAsString(Action->fieldByName(QStringLiteral("Action_name")).asString());
}

void ProjectData::ProjectCostCalcFields(Table& t) {
    const QVariant p = t.fieldByName(QStringLiteral("ProjectCost_project_id")).value();
    const QVariant m = t.fieldByName(QStringLiteral("ProjectCost_major_id")).value();
    const QVariant a = t.fieldByName(QStringLiteral("ProjectCost_action_id")).value();
    t.fieldByName(QStringLiteral("majorname")).setAsString(majorName(p, m));
    t.fieldByName(QStringLiteral("actionname")).setAsString(actionName(p, m, a));
}

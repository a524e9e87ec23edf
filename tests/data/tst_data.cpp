// The data folder's tables and the shared data module's links and rules.
#include "data/datafolder.h"
#include "data/datafoldercopy.h"
#include "data/nodesearch.h"
#include "data/projectcopy.h"
#include "data/projectcopytables.h"
#include "data/projectdata.h"
#include "data/schema.h"
#include "framework/dataset/databaseerror.h"
#include "framework/dataset/statement.h"
#include "support/engines.h"
#include "support/sqlrows.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

using vok::Table;

namespace {
// As long as a project name can be.
const char* const longName = "A name of one hundred characters, as long as a project name can "
                             "be: no more and no less than that!!!";
} // namespace

class TestData : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<ProjectData> dm;
    QString folder;

    void openWorkingTables() {
        dm->connectTo(folder);
        dm->openWorkingTables();
    }

    QString text(Table* t, const char* field) {
        return t->fieldByName(QLatin1String(field)).asString();
    }

    void exec(const QString& sql) {
        dm->connectTo(folder);
        dm->store->exec(sql);
    }
    QStringList rows(const QString& sql, const QVariantList& binds = {}) {
        return sqlRows(dm->store->exec(sql, binds));
    }

    // A project as its copy must repeat it: the project's own values, then its team, contacts,
    // major activities, their teams, actions and the actions' teams, each row reached from the
    // project through its owners' numbers, so that a row under the wrong parent drops out.
    QStringList shape(int project) {
        const QVariantList p{project};
        return rows(QStringLiteral("SELECT Zel_description, Zel_date_from, Zel_leader, "
                                   "Zel_completed, Zel_hours, Zel_actual, Zel_perc_complete FROM "
                                   "projects WHERE Zel_Project_id = ?"),
                    p) +
               rows(QStringLiteral("SELECT ProjectTeam_member, ProjectTeam_email, ProjectTeam_tel "
                                   "FROM ProjectTeam WHERE ProjectTeam_project_id = ? ORDER BY "
                                   "ProjectTeam_id"),
                    p) +
               rows(QStringLiteral("SELECT ProjectContact_name, ProjectContact_email, "
                                   "ProjectContact_ext, ProjectContact_City FROM ProjectContact "
                                   "WHERE ProjectContact_project_id = ? ORDER BY Projectnotes_id"),
                    p) +
               rows(QStringLiteral("SELECT Major_item, Major_critical, Major_perc_complete, "
                                   "Major_actual FROM major WHERE Major_project_id = ? ORDER BY "
                                   "Major_id"),
                    p) +
               rows(QStringLiteral("SELECT m.Major_item, t.MajorTeam_member FROM MajorTeam t JOIN "
                                   "major m ON m.Major_project_id = t.MajorTeam_project_id AND "
                                   "m.Major_id = t.MajorTeam_major_id WHERE t.MajorTeam_project_id "
                                   "= ? ORDER BY t.MajorTeam_id"),
                    p) +
               rows(QStringLiteral("SELECT m.Major_item, a.Action_name, a.Action_completed FROM "
                                   "action a JOIN major m ON m.Major_project_id = "
                                   "a.Action_project_id AND m.Major_id = a.Action_major_id WHERE "
                                   "a.Action_project_id = ? ORDER BY a.Action_id"),
                    p) +
               rows(QStringLiteral("SELECT m.Major_item, a.Action_name, t.ActionTeam_member FROM "
                                   "actionTeam t JOIN action a ON a.Action_project_id = "
                                   "t.ActionTeam_project_id AND a.Action_major_id = "
                                   "t.ActionTeam_major_id AND a.Action_id = t.ActionTeam_action_id "
                                   "JOIN major m ON m.Major_project_id = a.Action_project_id AND "
                                   "m.Major_id = a.Action_major_id WHERE t.ActionTeam_project_id "
                                   "= ? ORDER BY t.ActionTeam_id"),
                    p);
    }
    // Rows of every table, in one line.
    QString counts() {
        QStringList out;
        for (const char* t : {"projects", "major", "action", "ProjectTeam", "MajorTeam",
                              "actionTeam", "ProjectContact", "Projectnotes", "Majornotes",
                              "actionnotes", "ProjectTS", "ProjectCost"})
            out << rows(QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(t)).value(0);
        return out.join(QLatin1Char(' '));
    }
    // Project 12 "Alpha" with its team, contacts, notes, time-sheet and cost rows, major
    // activities 3 (actions 5 and 6) and 4 (action 8) with teams and notes; project 14 "Lone"
    // with nothing; project 16 whose name fills its 100 characters.
    void seedProjects() {
        for (const char* q :
             {"INSERT INTO projects (Zel_Project_id, Zel_project, Zel_description, "
              "Zel_date_from, Zel_leader, Zel_completed, Zel_hours, Zel_actual, "
              "Zel_perc_complete) VALUES (12, 'Alpha', 'Build it', '2024-01-08', 'Lee', 1, "
              "7.5, 123.5, 60), (14, 'Lone', NULL, NULL, NULL, 0, NULL, 0, 0)",
              "INSERT INTO ProjectTeam (ProjectTeam_project_id, ProjectTeam_member, "
              "ProjectTeam_email, ProjectTeam_tel) VALUES (12, 'Ann', 'ann@x.org', '111'), "
              "(12, 'Bob', NULL, '222')",
              "INSERT INTO ProjectContact (ProjectContact_project_id, ProjectContact_name, "
              "ProjectContact_email, ProjectContact_ext, ProjectContact_City) VALUES (12, "
              "'Carol', 'carol@x.org', 12, 'Paris'), (12, 'Dave', NULL, NULL, NULL)",
              "INSERT INTO major (Major_project_id, Major_id, Major_item, Major_critical, "
              "Major_perc_complete, Major_actual) VALUES (12, 3, 'Design', 1, 50, 9), (12, 4, "
              "'Build', 0, 0, 0)",
              "INSERT INTO MajorTeam (MajorTeam_project_id, MajorTeam_major_id, "
              "MajorTeam_member) VALUES (12, 3, 'Ann')",
              "INSERT INTO action (Action_project_id, Action_major_id, Action_id, "
              "Action_name, Action_completed) VALUES (12, 3, 5, 'Sketch', 1), (12, 3, 6, "
              "'Review', 0), (12, 4, 8, 'Pour', 0)",
              "INSERT INTO actionTeam (ActionTeam_project_id, ActionTeam_major_id, "
              "ActionTeam_action_id, ActionTeam_member) VALUES (12, 3, 5, 'Ann'), (12, 3, 5, "
              "'Bob'), (12, 4, 8, 'Bob')",
              "INSERT INTO Projectnotes (Projectnotes_project_id, Projectnotes_note) VALUES "
              "(12, 'p')",
              "INSERT INTO Majornotes (Majornotes_project_id, Majornotes_major_id, "
              "Majornotes_note) VALUES (12, 3, 'm')",
              "INSERT INTO actionnotes (Actionnotes_project_id, Actionnotes_major_id, "
              "Actionnotes_action_id, Actionnotes_note) VALUES (12, 3, 5, 'a')",
              "INSERT INTO ProjectTS (ProjectTS_project_id, ProjectTS_major_id, "
              "ProjectTS_action_id, ProjectTS_member, ProjectTS_hours) VALUES (12, 3, 5, "
              "'Ann', 7.5)",
              "INSERT INTO ProjectCost (ProjectCost_project_id, ProjectCost_major_id, "
              "ProjectCost_action_id, ProjectCost_Amount) VALUES (12, 0, 0, 123.5)"})
            exec(QLatin1String(q));
        dm->store->exec(
            QStringLiteral("INSERT INTO projects (Zel_Project_id, Zel_project) VALUES (16, ?)"),
            {QLatin1String(longName)});
        openWorkingTables();
    }
    ProjectCopy::Result copyProject(int project) {
        dm->projects->refresh(); // a copy made before is read again, as the tree's rebuild does
        if (!dm->projects->findKey({project}))
            qFatal("no project %d", project);
        ProjectCopyTables copies(dm->store);
        return ProjectCopy(*dm, copies).run();
    }

private Q_SLOTS:
    void initTestCase_data() { Engines::addRows(); }

    void init() {
        VOK_INIT_ENGINE();
        env = std::make_unique<TestEnvironment>();
        folder = env->emptyFolder();
        dm = std::make_unique<ProjectData>();
    }
    void cleanup() {
        dm.reset();
        env.reset();
    }

    // The table files are a stored format shared by every installation of a team: pin them.
    void newFolderHasTheTablesAndColumns_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("columns");
        QTest::newRow("projects") << "projects"
                                  << "Zel_Project_id INTEGER, Zel_project VARCHAR(100), "
                                     "Zel_description TEXT, Zel_date_from DATE, "
                                     "Zel_date_to DATE, Zel_leader VARCHAR(60), Zel_client "
                                     "VARCHAR(60), Zel_completed BOOLEAN, "
                                     "Zel_budget_hours REAL, Zel_hours REAL, Zel_Budget REAL, "
                                     "Zel_actual REAL, Zel_perc_complete INTEGER";
        QTest::newRow("major") << "major"
                               << "Major_project_id INTEGER, Major_id INTEGER, Major_item "
                                  "VARCHAR(100), Major_description TEXT, "
                                  "Major_leader VARCHAR(60), Major_from_date DATE, Major_to_date "
                                  "DATE, Major_critical BOOLEAN, "
                                  "Major_completed BOOLEAN, Major_budget_hours REAL, Major_hours "
                                  "REAL, Major_budget REAL, "
                                  "Major_actual REAL, Major_perc_complete INTEGER";
        QTest::newRow("action, actual hours before budget hours")
            << "action"
            << "Action_project_id INTEGER, Action_major_id INTEGER, Action_id INTEGER, Action_name "
               "VARCHAR(100), "
               "Action_description TEXT, Action_responsible VARCHAR(60), Action_from_date DATE, "
               "Action_to_date DATE, Action_hours REAL, Action_budget REAL, Action_actual REAL, "
               "Action_critical BOOLEAN, Action_completed BOOLEAN, Action_budget_hours REAL, "
               "Action_perc_complete INTEGER";
        QTest::newRow("notes") << "actionnotes"
                               << "Actionnotes_project_id INTEGER, Actionnotes_major_id INTEGER, "
                                  "Actionnotes_action_id INTEGER, "
                                  "Actionnotes_id INTEGER, Actionnotes_stamp DATETIME, "
                                  "Actionnotes_memberid VARCHAR(10), "
                                  "Actionnotes_note TEXT";
        QTest::newRow("team, telephone of 20")
            << "MajorTeam"
            << "MajorTeam_project_id INTEGER, MajorTeam_major_id INTEGER, MajorTeam_id INTEGER, "
               "MajorTeam_member VARCHAR(60), MajorTeam_email VARCHAR(100), MajorTeam_tel "
               "VARCHAR(20)";
        QTest::newRow("members")
            << "members"
            << "Member_id INTEGER, Member_name VARCHAR(100), Member_title VARCHAR(100), "
               "Member_email VARCHAR(60), Member_tel VARCHAR(60)";
        QTest::newRow("contacts, numbered by Projectnotes_id")
            << "ProjectContact"
            << "ProjectContact_project_id INTEGER, Projectnotes_id INTEGER, ProjectContact_name "
               "VARCHAR(100), "
               "ProjectContact_title VARCHAR(100), ProjectContact_email VARCHAR(100), "
               "ProjectContact_tel VARCHAR(20), ProjectContact_ext INTEGER, ProjectContact_Company "
               "VARCHAR(100), "
               "ProjectContact_adr1 VARCHAR(100), ProjectContact_adr2 VARCHAR(100), "
               "ProjectContact_City VARCHAR(100), ProjectContact_State VARCHAR(100), "
               "ProjectContact_Country VARCHAR(100), ProjectContact_PCode VARCHAR(20)";
        QTest::newRow("time sheets, entry number fifth")
            << "ProjectTS"
            << "ProjectTS_project_id INTEGER, ProjectTS_major_id INTEGER, ProjectTS_action_id "
               "INTEGER, "
               "ProjectTS_date_from DATE, ProjectTS_id INTEGER, ProjectTS_member VARCHAR(60), "
               "ProjectTS_date_to DATE, ProjectTS_hours REAL, ProjectTS_Notes TEXT";
        QTest::newRow("costs")
            << "ProjectCost"
            << "ProjectCost_project_id INTEGER, ProjectCost_major_id INTEGER, "
               "ProjectCost_action_id INTEGER, "
               "ProjectCost_date_from DATE, ProjectCost_id INTEGER, ProjectCost_date_to DATE, "
               "ProjectCost_Amount REAL, ProjectCost_Notes TEXT";
        QTest::newRow("cost entry")
            << "Costentry"
            << "Cost_id INTEGER, Cost_project VARCHAR(100), Cost_Major VARCHAR(100), Cost_Action "
               "VARCHAR(100), "
               "Cost_Date_from DATETIME, Cost_Date_to DATETIME, Cost_Amount REAL, Cost_Notes TEXT";
    }
    void newFolderHasTheTablesAndColumns() {
        VOK_FOLDER_ONLY("pins the file format of a data folder");
        QFETCH(QString, table);
        QFETCH(QString, columns);
        dm->connectTo(folder);
        QSqlQuery q = dm->store->exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table));
        QStringList seen;
        while (q.next())
            seen << q.value(1).toString() + QLatin1Char(' ') + q.value(2).toString();
        QCOMPARE(seen.join(QStringLiteral(", ")), columns);
    }

    void everyTableIsCreatedWithItsKeyIndex() {
        VOK_FOLDER_ONLY("reads the data folder's own catalogue");
        dm->connectTo(folder);
        int tables = 0;
        QSqlQuery q = dm->store->exec(QStringLiteral(
            "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'"));
        while (q.next())
            ++tables;
        QCOMPARE(tables, 14);
        // Links and keyed searches read through these leading fields.
        QSqlQuery idx = dm->store->exec(QStringLiteral("PRAGMA index_info(projectts_key)"));
        QStringList fields;
        while (idx.next())
            fields << idx.value(2).toString();
        QCOMPARE(fields.mid(0, 3), (QStringList{"ProjectTS_project_id", "ProjectTS_major_id",
                                                "ProjectTS_action_id"}));
    }

    void initRefusesAFolderThatHoldsData() {
        QVERIFY_THROWS_EXCEPTION(vok::DatabaseError, DataFolder::create(folder));
    }

    void newRecordDefaults_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("todayFields");
        QTest::addColumn<QStringList>("falseFields");
        QTest::addColumn<QStringList>("zeroFields");
        QTest::addColumn<QStringList>("emptyFields");
        QTest::newRow("project") << "projects" << QStringList{"Zel_date_from", "Zel_date_to"}
                                 << QStringList{"Zel_completed"}
                                 << QStringList{"Zel_perc_complete", "Zel_actual"}
                                 << QStringList{"Zel_project", "Zel_budget_hours", "Zel_hours",
                                                "Zel_Budget", "Zel_leader"};
        QTest::newRow("major activity")
            << "Major" << QStringList{"Major_from_date", "Major_to_date"}
            << QStringList{"Major_critical", "Major_completed"}
            << QStringList{"Major_perc_complete", "Major_actual"}
            << QStringList{"Major_item", "Major_budget", "Major_hours"};
        QTest::newRow("action") << "Action" << QStringList{"Action_from_date", "Action_to_date"}
                                << QStringList{"Action_critical", "Action_completed"}
                                << QStringList{"Action_perc_complete", "Action_actual"}
                                << QStringList{"Action_name", "Action_budget", "Action_hours",
                                               "Action_budget_hours"};
    }
    void newRecordDefaults() {
        QFETCH(QString, table);
        QFETCH(QStringList, todayFields);
        QFETCH(QStringList, falseFields);
        QFETCH(QStringList, zeroFields);
        QFETCH(QStringList, emptyFields);
        exec(QStringLiteral("INSERT INTO projects (Zel_project) VALUES ('p')"));
        exec(QStringLiteral("INSERT INTO major (Major_project_id, Major_item) VALUES (1, 'm')"));
        openWorkingTables();
        Table* t = dm->findChild<Table*>(table);
        QVERIFY(t);
        t->insert();
        for (const QString& f : todayFields)
            QCOMPARE(t->fieldByName(f).asDate(), QDate(2024, 3, 1));
        for (const QString& f : falseFields) {
            QVERIFY(!t->fieldByName(f).isNull());
            QCOMPARE(t->fieldByName(f).asBoolean(), false);
        }
        for (const QString& f : zeroFields) {
            QVERIFY(!t->fieldByName(f).isNull());
            QCOMPARE(t->fieldByName(f).asFloat(), 0.0);
        }
        for (const QString& f : emptyFields)
            QVERIFY2(t->fieldByName(f).isNull(), qPrintable(f));
    }

    void newMajorActivityCarriesItsProjectBeforeAnythingIsTyped() {
        exec(QStringLiteral(
            "INSERT INTO projects (Zel_Project_id, Zel_project) VALUES (12, 'twelve'), (13, 'x')"));
        openWorkingTables();
        QVERIFY(dm->projects->findKey({12}));
        dm->Major->insert();
        QCOMPARE(dm->Major->fieldByName(QStringLiteral("Major_project_id")).asInteger(), 12);
        dm->Major->fieldByName(QStringLiteral("Major_item")).setAsString(QStringLiteral("m"));
        dm->Major->post();
        dm->Action->insert();
        QCOMPARE(dm->Action->fieldByName(QStringLiteral("Action_project_id")).asInteger(), 12);
        QCOMPARE(dm->Action->fieldByName(QStringLiteral("Action_major_id")).asInteger(),
                 dm->Major->fieldByName(QStringLiteral("Major_id")).asInteger());
    }

    void memberChangeCopiesAddressAndTelephone_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("email");
        QTest::addColumn<QString>("tel");
        QTest::newRow("exact name copies, telephone cut to 20") << "Eva Lindqvist"
                                                                << "eva@example.com"
                                                                << "+46 8 555 010 44 ext";
        QTest::newRow("letter case differs: nothing") << "eva lindqvist"
                                                      << ""
                                                      << "";
        QTest::newRow("trailing blank: nothing") << "Eva Lindqvist "
                                                 << ""
                                                 << "";
        QTest::newRow("free-typed name: nothing") << "Someone Else"
                                                  << ""
                                                  << "";
    }
    void memberChangeCopiesAddressAndTelephone() {
        QFETCH(QString, typed);
        QFETCH(QString, email);
        QFETCH(QString, tel);
        exec(QStringLiteral("INSERT INTO projects (Zel_project) VALUES ('p')"));
        exec(QStringLiteral("INSERT INTO members (Member_name, Member_email, Member_tel) VALUES "
                            "('Ana', 'ana@example.com', '1'), "
                            "('Eva Lindqvist', 'eva@example.com', '+46 8 555 010 44 ext. 2201')"));
        openWorkingTables();
        for (Table* team : {dm->ProjectTeam, dm->MajorTeam, dm->ActionTeam}) {
            const QString prefix =
                team == dm->ActionTeam ? QStringLiteral("ActionTeam") : team->objectName();
            team->insert();
            team->fieldByName(prefix + "_member").setAsString(typed);
            QCOMPARE(team->fieldByName(prefix + "_email").asString(), email);
            QCOMPARE(team->fieldByName(prefix + "_tel").asString(), tel);
            team->cancel();
        }
    }

    void memberChangeDoesNothingOutsideEditing() {
        exec(QStringLiteral("INSERT INTO projects (Zel_project) VALUES ('p')"));
        exec(QStringLiteral(
            "INSERT INTO members (Member_name, Member_email) VALUES ('Ana', 'ana@example.com')"));
        exec(QStringLiteral("INSERT INTO ProjectTeam (ProjectTeam_project_id, ProjectTeam_member) "
                            "VALUES (1, 'Ana')"));
        openWorkingTables();
        dm->ProjectTeamProjectTeam_memberChange(
            dm->ProjectTeam->fieldByName(QStringLiteral("ProjectTeam_member")));
        QVERIFY(dm->ProjectTeam->fieldByName(QStringLiteral("ProjectTeam_email")).isNull());
    }

    void calculatedNamesOfTimeSheetAndCostRows() {
        exec(QStringLiteral(
            "INSERT INTO projects (Zel_project) VALUES ('Project with a long name')"));
        exec(QStringLiteral("INSERT INTO major (Major_project_id, Major_item) VALUES (1, 'First "
                            "major activity name'), (1, 'Second')"));
        exec(QStringLiteral(
            "INSERT INTO action (Action_project_id, Action_major_id, Action_name) VALUES "
            "(1, 1, 'An action with a long name'), (1, 2, 'Other'), (1, 2, 'Third')"));
        exec(QStringLiteral(
            "INSERT INTO ProjectTS (ProjectTS_project_id, ProjectTS_major_id, ProjectTS_action_id, "
            "ProjectTS_hours) "
            "VALUES (1, 0, 0, 1), (1, 1, 0, 2), (1, 1, 1, 3), (1, 2, 2, 4), (1, 7, 0, 5), "
            "(1, 2, 3, 6)"));
        exec(QStringLiteral("INSERT INTO ProjectCost (ProjectCost_project_id, "
                            "ProjectCost_major_id, ProjectCost_action_id, ProjectCost_Amount) "
                            "VALUES (1, 2, 2, 10), (1, 0, 0, 20)"));
        openWorkingTables();
        dm->projects->first();
        dm->Major->first(); // the first major activity and its first action are current
        dm->Action->first();
        dm->ProjectTS->open();
        QStringList rows;
        for (dm->ProjectTS->first(); !dm->ProjectTS->eof(); dm->ProjectTS->next())
            rows << QStringLiteral("%1|%2|%3")
                        .arg(text(dm->ProjectTS, "ProjectName"), text(dm->ProjectTS, "MajorName"),
                             text(dm->ProjectTS, "ActionName"));
        QCOMPARE(rows, (QStringList{
                           "Project with a long ||", "Project with a long |First major activity|",
                           "Project with a long |First major activity|An action with a lon",
                           "Project with a long |Second|Other", "Project with a long |Second|Third",
                           "Project with a long ||"}));
        // Found without moving the working record-sets.
        QCOMPARE(text(dm->Major, "Major_item"), QStringLiteral("First major activity name"));
        QCOMPARE(text(dm->Action, "Action_name"), QStringLiteral("An action with a long name"));

        dm->ProjectCost->open();
        QStringList costs;
        for (dm->ProjectCost->first(); !dm->ProjectCost->eof(); dm->ProjectCost->next())
            costs << text(dm->ProjectCost, "majorname") + "|" + text(dm->ProjectCost, "actionname");
        QCOMPARE(costs, (QStringList{"|", "Second|Other"}));

        dm->MajorTS->open();
        QCOMPARE(dm->MajorTS->recordCount(),
                 2); // rows of the first major activity, its actions included
        dm->ActionTS->open();
        QCOMPARE(dm->ActionTS->recordCount(), 1);
        QCOMPARE(text(dm->ActionTS, "ActionName"), QStringLiteral("An action with a lon"));

        // A major activity's lines name their actions by project, major activity and action
        // (action 3 of major activity 2: numbers that differ, so no other order finds it).
        dm->Major->next();
        QStringList majorLines;
        for (dm->MajorTS->first(); !dm->MajorTS->eof(); dm->MajorTS->next())
            majorLines << text(dm->MajorTS, "MajorName") + "|" + text(dm->MajorTS, "ActionName");
        QCOMPARE(majorLines, (QStringList{"Second|Other", "Second|Third"}));
    }

    void projectFilterFollowsPrintProject_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("projects");
        QTest::addColumn<int>("majorsOfFirst");
        QTest::newRow("one project") << "Beta" << 1 << 1;
        QTest::newRow("two projects of the same name") << "Alpha" << 2 << 2;
        QTest::newRow("letter case counts") << "alpha" << 0 << 0;
        QTest::newRow("no such project: empty, details too") << "Nobody" << 0 << 0;
    }
    void projectFilterFollowsPrintProject() {
        QFETCH(QString, caption);
        QFETCH(int, projects);
        QFETCH(int, majorsOfFirst);
        exec(QStringLiteral(
            "INSERT INTO projects (Zel_project) VALUES ('Alpha'), ('Beta'), ('Alpha')"));
        exec(QStringLiteral("INSERT INTO major (Major_project_id, Major_item) VALUES (1, 'a'), (1, "
                            "'b'), (2, 'c')"));
        openWorkingTables();
        dm->setPrintProjectSource([&] { return caption; });
        dm->projects->setFiltered(true);
        QCOMPARE(dm->projects->recordCount(), projects);
        QCOMPARE(dm->Major->recordCount(), majorsOfFirst);
        dm->projects->setFiltered(false);
        QCOMPARE(dm->projects->recordCount(), 3);
    }

    // Every row of every table and sheet, as stored; a date-time at midnight as its date (a
    // sheet's dates are date-times on the server).
    static QStringList contents(const QString& location) {
        vok::Store s;
        s.setParams({QStringLiteral("path=") + location});
        QStringList out;
        const auto dump = [&](const QString& file, const vok::TableDef& def) {
            const vok::TableRef ref = s.resolve(file);
            QStringList columns;
            for (const vok::FieldDef& f : def.fields)
                columns << f.name;
            const auto q = s.statement(
                QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                    .arg(columns.join(QLatin1Char(',')), ref.sql(), def.autoIncField()));
            while (q->step()) {
                QStringList row{file};
                for (int c = 0; c < columns.size(); ++c)
                    row << q->value(c).toString().remove(QStringLiteral("T00:00:00"));
                out << row.join(QLatin1Char('|'));
            }
            s.release(ref);
        };
        for (const vok::TableDef& def : Schema::tables())
            dump(Schema::fileName(def.name), def);
        for (const QString& sheet : s.files())
            dump(sheet, Schema::memberTimeSheetFile());
        return out;
    }

    // A team moves its folder onto the server (or back): all of it arrives, or nothing does.
    void copyDataMovesEverythingOrNothing_data() {
        QTest::addColumn<bool>("spoiled");
        QTest::newRow("there and back") << false;
        QTest::newRow("a value the server refuses") << true;
    }
    void copyDataMovesEverythingOrNothing() {
        QFETCH(bool, spoiled);
        const bool serverThere = !Engines::isServer() && Engines::unavailable().isEmpty() &&
                                 !qEnvironmentVariableIsEmpty("VOK_TEST_POSTGRESQL");
        const QString other = serverThere ? QStringLiteral("postgresql") : QStringLiteral("sqlite");
        const QString demo = env->demoFolder(QStringLiteral("from"));
        const QString there = env->location(QStringLiteral("there"), other);
        if (spoiled) {
            if (!serverThere)
                QSKIP("only the server refuses what a folder holds");
            dm->connectTo(demo);
            dm->store->exec(
                QStringLiteral("UPDATE action SET Action_hours = 'many' WHERE Action_id = 3"));
            dm->store->close();
            QVERIFY_THROWS_EXCEPTION(vok::DatabaseError, DataFolderCopy::run(demo, there));
            QVERIFY(!vok::Store::holdsData(there));
            return;
        }
        const DataFolderCopy::Report report = DataFolderCopy::run(demo, there);
        QCOMPARE(report.sheets, QStringList{QStringLiteral("Site Crew.db")});
        QVERIFY_THROWS_EXCEPTION(vok::DatabaseError, DataFolderCopy::run(demo, there));
        const QString back = env->location(QStringLiteral("back"));
        DataFolderCopy::run(there, back);
        const QStringList original = contents(demo);
        QCOMPARE(contents(there), original);
        QCOMPARE(contents(back), original);
        QVERIFY(original.size() > 100);
    }

    // A server is a round trip away: walking the hierarchy as the tree does reads the major
    // activities and actions of many masters per statement, not one statement per master.
    void walkingTheHierarchyReadsManyRangesPerStatement() {
        if (!Engines::isServer())
            QSKIP("a data folder reads each range from its own file, as fast as ahead");
        folder = env->location(QStringLiteral("sized"));
        DataFolder::createSized(folder, 100, 10, 10);
        openWorkingTables();
        const quint64 before = dm->store->statementsRun();
        int majors = 0;
        int actions = 0;
        for (dm->projects->first(); !dm->projects->eof(); dm->projects->next()) {
            for (dm->Major->first(); !dm->Major->eof(); dm->Major->next()) {
                ++majors;
                actions += dm->Action->recordCount();
            }
        }
        const quint64 statements = dm->store->statementsRun() - before;
        QCOMPARE(majors, 1000);
        QCOMPARE(actions, 10000);
        qInfo("%llu statements for 1,100 masters", statements);
        QVERIFY2(statements <= 60, qPrintable(QString::number(statements)));
    }

    // The same data on both engines: the merges book the same rows and totals, and a report
    // lays out the same pages.
    void bothEnginesMergeAndReportAlike() {
        if (!Engines::isServer())
            QSKIP("compares a folder with the server, in the server's row");
        const QString folder = env->location(QStringLiteral("folder"), QStringLiteral("sqlite"));
        DataFolder::createDemo(folder, QDate(2024, 3, 1));
        const QString server = env->location(QStringLiteral("server"));
        DataFolderCopy::run(folder, server);
        QStringList layouts;
        for (const QString& data : {folder, server}) {
            const QString json =
                QDir(env->root()).filePath(QStringLiteral("layout%1.json").arg(layouts.size()));
            const QList<QStringList> commands{
                {QStringLiteral("merge-timesheets"), QStringLiteral("--data"), data,
                 QStringLiteral("--member"), QStringLiteral("Site Crew")},
                {QStringLiteral("merge-costs"), QStringLiteral("--data"), data},
                {QStringLiteral("report"), QStringLiteral("timeline"), QStringLiteral("--data"),
                 data, QStringLiteral("--project"), QStringLiteral("Riverside Library Renovation"),
                 QStringLiteral("--today"), QStringLiteral("2024-03-01T09:00"),
                 QStringLiteral("--pdf"), QDir(env->root()).filePath(QStringLiteral("t.pdf")),
                 QStringLiteral("--layout-json"), json}};
            for (const QStringList& args : commands) {
                QProcess p;
                p.start(QStringLiteral(VOKCTL), args);
                QVERIFY(p.waitForFinished(60000));
                QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
            }
            QFile f(json);
            QVERIFY(f.open(QIODevice::ReadOnly));
            layouts << QString::fromUtf8(f.readAll());
        }
        QCOMPARE(contents(server), contents(folder));
        QVERIFY(layouts[0].size() > 1000);
        QCOMPARE(layouts[1], layouts[0]);
    }

    void demoFolderOpensAndItsTotalsMatchItsRows() {
        env.reset();
        env = std::make_unique<TestEnvironment>();
        folder = env->demoFolder();
        openWorkingTables();
        QVERIFY(dm->projects->recordCount() >= 3);
        vok::Store& s = *dm->store;
        const auto scalar = [&](const QString& sql) {
            QSqlQuery q = s.exec(sql);
            return q.next() ? q.value(0).toDouble() : -1.0;
        };
        QCOMPARE(scalar(QStringLiteral(
                     "SELECT COUNT(*) FROM projects p WHERE ABS(COALESCE(p.Zel_hours, 0) - "
                     "(SELECT COALESCE(SUM(ProjectTS_hours), 0) FROM ProjectTS WHERE "
                     "ProjectTS_project_id = p.Zel_Project_id)) > 0.001")),
                 0.0);
        QCOMPARE(scalar(QStringLiteral(
                     "SELECT COUNT(*) FROM major m WHERE ABS(COALESCE(m.Major_actual, 0) - "
                     "(SELECT COALESCE(SUM(ProjectCost_Amount), 0) FROM ProjectCost WHERE "
                     "ProjectCost_major_id = m.Major_id)) > 0.001")),
                 0.0);
        QCOMPARE(scalar(QStringLiteral(
                     "SELECT COUNT(*) FROM action a WHERE ABS(COALESCE(a.Action_hours, 0) - "
                     "(SELECT COALESCE(SUM(ProjectTS_hours), 0) FROM ProjectTS WHERE "
                     "ProjectTS_action_id = a.Action_id)) > 0.001")),
                 0.0);
        QVERIFY(scalar(QStringLiteral("SELECT COUNT(*) FROM ProjectTS")) > 5);
        QVERIFY(scalar(QStringLiteral("SELECT COUNT(*) FROM Costentry")) > 0);
        dm->MemberTS->setTableName(QStringLiteral("Site Crew.db"));
        dm->MemberTS->open();
        QVERIFY(dm->MemberTS->recordCount() > 0);
        QCOMPARE(dm->MemberTS->fieldByName(QStringLiteral("MemberTS_project")).asString(),
                 QStringLiteral("Riverside Library Renovation"));
    }

    // ------------------------------------------------------------ copying a project

    void copyRepeatsTheProjectUnderNewNumbers_data() {
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("times"); // the copy of the copy, and so on
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("added"); // rows added per table, as counts() lists them
        QTest::newRow("project with teams, contacts, activities and actions")
            << 12 << 1 << "Copy of Alpha"
            << "1 2 3 2 1 3 2 0 0 0 0 0";
        QTest::newRow("copy of the copy: the prefix again") << 12 << 2 << "Copy of Copy of Alpha"
                                                            << "2 4 6 4 2 6 4 0 0 0 0 0";
        QTest::newRow("project with nothing: a lone record") << 14 << 1 << "Copy of Lone"
                                                             << "1 0 0 0 0 0 0 0 0 0 0 0";
        QTest::newRow("100-character name: the prefix stays, the end goes")
            << 16 << 1 << QStringLiteral("Copy of ") + QLatin1String(longName).left(92)
            << "1 0 0 0 0 0 0 0 0 0 0 0";
    }
    void copyRepeatsTheProjectUnderNewNumbers() {
        QFETCH(int, source);
        QFETCH(int, times);
        QFETCH(QString, name);
        QFETCH(QString, added);
        QCOMPARE(QString::fromLatin1(longName).size(), 100);
        seedProjects();
        const QString before = counts();
        const QStringList sourceShape = shape(source);
        ProjectCopy::Result copy;
        for (int project = source, i = 0; i < times; ++i, project = copy.project)
            copy = copyProject(project);
        QCOMPARE(copy.name, name);
        QCOMPARE(rows(QStringLiteral("SELECT Zel_project FROM projects WHERE Zel_Project_id = ?"),
                      {copy.project}),
                 QStringList{name});
        QVERIFY(copy.project > 16); // numbered by the engine
        QStringList delta;
        const QStringList b = before.split(QLatin1Char(' '));
        const QStringList a = counts().split(QLatin1Char(' '));
        for (int i = 0; i < a.size(); ++i)
            delta << QString::number(a[i].toInt() - b[i].toInt());
        QCOMPARE(delta.join(QLatin1Char(' ')), added);
        // Every copied row hangs off the copied parents; values are carried, not reset.
        QCOMPARE(shape(copy.project), sourceShape);
        QCOMPARE(shape(source), sourceShape);
        // The copy record-sets are open only while a copy runs.
        ProjectCopyTables copies(dm->store);
        for (Table* t : copies.tables())
            QVERIFY(!t->isActive());
    }

    void copyThatFailsHalfWayLeavesNothing() {
        seedProjects();
        // The second action-team row cannot be stored: by then the project, its team, contacts,
        // first major activity and first action are written.
        if (Engines::isServer()) {
            exec(QStringLiteral("CREATE FUNCTION disk_full() RETURNS trigger LANGUAGE plpgsql AS "
                                "$$ BEGIN IF NEW.ActionTeam_member = 'Bob' THEN RAISE EXCEPTION "
                                "'disk full'; END IF; RETURN NEW; END $$"));
            exec(QStringLiteral("CREATE TRIGGER full_disk BEFORE INSERT ON actionTeam FOR EACH "
                                "ROW EXECUTE FUNCTION disk_full()"));
        } else {
            exec(QStringLiteral("CREATE TRIGGER full BEFORE INSERT ON actionTeam WHEN "
                                "NEW.ActionTeam_member = 'Bob' BEGIN SELECT RAISE(ABORT, 'disk "
                                "full'); END"));
        }
        dm->projects->findKey({12});
        // Typed before the copy: stored, not undone with it.
        dm->projects->edit();
        dm->projects->fieldByName(QStringLiteral("Zel_leader")).setAsString(QStringLiteral("Kim"));
        const QString before = counts();
        ProjectCopyTables copies(dm->store);
        QVERIFY_THROWS_EXCEPTION(vok::DatabaseError, ProjectCopy(*dm, copies).run());
        QCOMPARE(counts(), before);
        QCOMPARE(rows(QStringLiteral("SELECT Zel_leader FROM projects WHERE Zel_Project_id = 12")),
                 QStringList{QStringLiteral("Kim")});
        for (Table* t : copies.tables())
            QVERIFY(!t->isActive());
        // Put right, the same record-sets copy the whole project.
        exec(Engines::isServer() ? QStringLiteral("DROP TRIGGER full_disk ON actionTeam")
                                 : QStringLiteral("DROP TRIGGER full"));
        dm->projects->findKey({12});
        const ProjectCopy::Result copy = ProjectCopy(*dm, copies).run();
        QCOMPARE(shape(copy.project), shape(12));
        QCOMPARE(dm->Contacts->recordCount(), 2); // the working views still show the source
    }

    // The engine folds the names; the window folds what is typed: both alike.
    void searchFindsProjectsByAnyNodeNameLetterCaseAndAccentsAside_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("projects");
        QTest::newRow("a project's name, another case") << "ALPHA" << "12";
        QTest::newRow("a major activity's") << "desi" << "12";
        QTest::newRow("an action's, typed without its accent") << "revisee" << "12,14";
        QTest::newRow("typed with an accent the name has not") << "Skétch" << "12";
        QTest::newRow("a capital accent folded") << "ÉTÉ" << "14";
        QTest::newRow("like-pattern characters are plain text") << "%_" << "16";
        QTest::newRow("nothing matches") << "zz" << "";
        QTest::newRow("blanks find nothing") << "  " << "";
    }
    void searchFindsProjectsByAnyNodeNameLetterCaseAndAccentsAside() {
        QFETCH(QString, text);
        QFETCH(QString, projects);
        seedProjects();
        exec(QStringLiteral("UPDATE action SET Action_name = 'Révisée' WHERE Action_id = 6"));
        exec(QStringLiteral("INSERT INTO major (Major_project_id, Major_item) VALUES (14, "
                            "'Fête d''Été'), (14, 'Revisée'), (16, '100%_sure')"));
        QStringList found;
        for (qlonglong p : NodeSearch(*dm->store).projects(text))
            found << QString::number(p);
        QCOMPARE(found.join(QLatin1Char(',')), projects);
        QCOMPARE(NodeSearch::matches(QStringLiteral("Fête d'Été"), text), projects == "14");
    }
};

QTEST_GUILESS_MAIN(TestData)
#include "tst_data.moc"

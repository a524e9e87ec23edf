// Plans in and out: MS Project XML both ways, iCalendar out, on both engines, from the command
// line and from the window.
#include "../ui/main/mainwindowfixture.h"
#include "app/storageconfiguration.h"
#include "data/projectdata.h"
#include "exchange/icalendarwriter.h"
#include "exchange/mspdireader.h"
#include "exchange/projectexchange.h"
#include "framework/ui/filedialogs.h"
#include "support/engines.h"
#include "support/programrun.h"
#include "support/sqlrows.h"
#include "support/testenvironment.h"
#include "ui/main/mainwindow.h"
#include "ui/main/treecontroller.h"

#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

namespace {

// Project 12 "Alpha" as a planner keeps it: dated levels with hours, costs, leaders, notes with
// stamps and authors, texts that need escaping, teams; one action without dates.
const char* const seedSql[] = {
    "INSERT INTO members (Member_name, Member_email, Member_tel) VALUES "
    "('Ann', 'ann@example.com', '111'), ('Bob', 'bob@example.com', '222')",
    "INSERT INTO projects (Zel_Project_id, Zel_project, Zel_description, Zel_date_from, "
    "Zel_date_to, Zel_leader, Zel_client, Zel_completed, Zel_budget_hours, Zel_hours, "
    "Zel_actual, Zel_perc_complete, Zel_Budget) VALUES (12, 'Alpha', 'Move the office.\n\nAll "
    "of it, <soon> & well; \"really\"', '2024-03-04', '2024-04-26', 'Lee', 'Acme', 0, 320, "
    "41.5, 1234.56, 20, 25000.5)",
    "INSERT INTO major (Major_project_id, Major_id, Major_item, Major_description, "
    "Major_leader, Major_from_date, Major_to_date, Major_critical, Major_completed, "
    "Major_budget_hours, Major_hours, Major_actual, Major_perc_complete, Major_budget) VALUES "
    "(12, 3, 'Plan', 'Who goes where', 'Ann', '2024-03-04', '2024-03-15', 1, 1, 80, 79.75, "
    "100, 100, 8000), (12, 4, 'Move', NULL, NULL, '2024-03-18', '2024-04-26', 0, 0, NULL, NULL, "
    "0, 0, NULL)",
    "INSERT INTO action (Action_project_id, Action_major_id, Action_id, Action_name, "
    "Action_description, Action_responsible, Action_from_date, Action_to_date, Action_hours, "
    "Action_budget, Action_actual, Action_critical, Action_completed, Action_budget_hours, "
    "Action_perc_complete) VALUES (12, 3, 5, 'Survey, rooms; floors', 'Line one\nline two', "
    "'Bob', '2024-03-04', '2024-03-06', 12.25, 1999.99, 50.5, 1, 1, 16, 100), "
    "(12, 3, 6, 'Budget', NULL, NULL, '2024-03-07', '2024-03-07', NULL, NULL, 0, 0, 0, 7.5, "
    "60), (12, 4, 8, 'Pack', NULL, NULL, NULL, NULL, NULL, NULL, 0, 0, 0, 0.01, 0)",
    "INSERT INTO ProjectTeam (ProjectTeam_project_id, ProjectTeam_member, ProjectTeam_email, "
    "ProjectTeam_tel) VALUES (12, 'Ann', 'ann@example.com', '111')",
    "INSERT INTO MajorTeam (MajorTeam_project_id, MajorTeam_major_id, MajorTeam_member, "
    "MajorTeam_email, MajorTeam_tel) VALUES (12, 3, 'Bob', 'bob@example.com', '222')",
    "INSERT INTO actionTeam (ActionTeam_project_id, ActionTeam_major_id, ActionTeam_action_id, "
    "ActionTeam_member, ActionTeam_email, ActionTeam_tel) VALUES (12, 3, 5, 'Ann', "
    "'ann@example.com', '111'), (12, 3, 5, 'Bob', 'bob@example.com', '222'), (12, 3, 6, 'Bob', "
    "'bob@example.com', '222')",
    "INSERT INTO Projectnotes (Projectnotes_project_id, Projectnotes_stamp, "
    "Projectnotes_memberid, Projectnotes_note) VALUES (12, '2024-03-01T09:15:00', 'LEE', "
    "'Kick-off held.\n\nNext: the survey.'), (12, '2024-03-02T10:00:00', NULL, 'Keys ordered')",
    "INSERT INTO Majornotes (Majornotes_project_id, Majornotes_major_id, Majornotes_stamp, "
    "Majornotes_memberid, Majornotes_note) VALUES (12, 3, '2024-03-05T08:00:00', 'ANN', "
    "'Plan signed')",
    "INSERT INTO actionnotes (Actionnotes_project_id, Actionnotes_major_id, "
    "Actionnotes_action_id, Actionnotes_stamp, Actionnotes_memberid, Actionnotes_note) VALUES "
    "(12, 3, 5, '2024-03-06T16:30:00', 'BOB', '[2024-01-01 00:00] looks like a head')",
};

// A task of a hand-made file, in the order of the schema.
QString task(int uid, int level, const QString& name, const QString& rest = QString()) {
    return QStringLiteral("<Task><UID>%1</UID><ID>%1</ID><Name>%2</Name><OutlineLevel>%3"
                          "</OutlineLevel>%4</Task>")
        .arg(uid)
        .arg(name)
        .arg(level)
        .arg(rest);
}

QString dated(const char* from, const char* to) {
    return QStringLiteral("<Start>%1T08:00:00</Start><Finish>%2T17:00:00</Finish>")
        .arg(QLatin1String(from), QLatin1String(to));
}

QByteArray mspdi(const QString& header, const QString& tasks, const QString& more = QString()) {
    return (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Project "
                           "xmlns=\"http://schemas.microsoft.com/project\"><SaveVersion>14"
                           "</SaveVersion>") +
            header + QStringLiteral("<Tasks>") + tasks + QStringLiteral("</Tasks>") + more +
            QStringLiteral("</Project>\n"))
        .toUtf8();
}

} // namespace

class TestExchange : public MainWindowFixture {
    Q_OBJECT

    std::unique_ptr<ProjectData> data;

    QString file(const QString& name) { return QDir(env->root()).filePath(name); }
    void writeFile(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(bytes), bytes.size());
    }
    QStringList rows(const QString& query, const QVariantList& binds = {}) {
        return sqlRows(data->store->exec(query, binds));
    }
    int project(const QString& name) { return ProjectExchange(*data->store).findProject(name); }

    // Everything of a project but its name and numbers, each row reached through its owners.
    QStringList shape(int id) {
        const QVariantList p{id};
        const QString levels[] = {
            QStringLiteral("SELECT Zel_description, Zel_date_from, Zel_date_to, Zel_leader, "
                           "Zel_client, Zel_completed, Zel_budget_hours, Zel_hours, Zel_actual, "
                           "Zel_perc_complete, Zel_Budget FROM projects WHERE Zel_Project_id = ?"),
            QStringLiteral("SELECT Major_item, Major_description, Major_leader, Major_from_date, "
                           "Major_to_date, Major_critical, Major_completed, Major_budget_hours, "
                           "Major_hours, Major_actual, Major_perc_complete, Major_budget FROM "
                           "major WHERE Major_project_id = ? ORDER BY Major_id"),
            QStringLiteral("SELECT m.Major_item, a.Action_name, a.Action_description, "
                           "a.Action_responsible, a.Action_from_date, a.Action_to_date, "
                           "a.Action_critical, a.Action_completed, a.Action_budget_hours, "
                           "a.Action_hours, a.Action_actual, a.Action_perc_complete, "
                           "a.Action_budget FROM action a "
                           "JOIN major m ON m.Major_project_id = a.Action_project_id AND "
                           "m.Major_id = a.Action_major_id WHERE a.Action_project_id = ? ORDER "
                           "BY a.Action_id"),
            QStringLiteral("SELECT Projectnotes_stamp, Projectnotes_memberid, Projectnotes_note "
                           "FROM Projectnotes WHERE Projectnotes_project_id = ? ORDER BY "
                           "Projectnotes_id"),
            QStringLiteral("SELECT m.Major_item, n.Majornotes_stamp, n.Majornotes_memberid, "
                           "n.Majornotes_note FROM Majornotes n JOIN major m ON "
                           "m.Major_project_id = n.Majornotes_project_id AND m.Major_id = "
                           "n.Majornotes_major_id WHERE n.Majornotes_project_id = ? ORDER BY "
                           "n.Majornotes_id"),
            QStringLiteral("SELECT a.Action_name, n.Actionnotes_stamp, n.Actionnotes_memberid, "
                           "n.Actionnotes_note FROM actionnotes n JOIN action a ON "
                           "a.Action_project_id = n.Actionnotes_project_id AND a.Action_major_id "
                           "= n.Actionnotes_major_id AND a.Action_id = n.Actionnotes_action_id "
                           "WHERE n.Actionnotes_project_id = ? ORDER BY n.Actionnotes_id"),
            QStringLiteral("SELECT ProjectTeam_member, ProjectTeam_email, ProjectTeam_tel FROM "
                           "ProjectTeam WHERE ProjectTeam_project_id = ? ORDER BY ProjectTeam_id"),
            QStringLiteral("SELECT m.Major_item, t.MajorTeam_member, t.MajorTeam_email, "
                           "t.MajorTeam_tel FROM MajorTeam t JOIN major m ON m.Major_project_id "
                           "= t.MajorTeam_project_id AND m.Major_id = t.MajorTeam_major_id WHERE "
                           "t.MajorTeam_project_id = ? ORDER BY t.MajorTeam_id"),
            QStringLiteral("SELECT a.Action_name, t.ActionTeam_member, t.ActionTeam_email, "
                           "t.ActionTeam_tel FROM actionTeam t JOIN action a ON "
                           "a.Action_project_id = t.ActionTeam_project_id AND a.Action_major_id "
                           "= t.ActionTeam_major_id AND a.Action_id = t.ActionTeam_action_id "
                           "WHERE t.ActionTeam_project_id = ? ORDER BY t.ActionTeam_id"),
        };
        QStringList out;
        for (const QString& q : levels)
            out << rows(q, p) << QStringLiteral("--");
        return out;
    }
    // "Major[Action from/to, ...];..." of a project, dates as ISO days.
    QString tree(int id) {
        QStringList majors;
        QSqlQuery m = data->store->exec(
            QStringLiteral("SELECT Major_id, Major_item FROM major WHERE Major_project_id = ? "
                           "ORDER BY Major_id"),
            {id});
        while (m.next()) {
            QStringList actions;
            QSqlQuery a = data->store->exec(
                QStringLiteral("SELECT Action_name, Action_from_date, Action_to_date FROM action "
                               "WHERE Action_project_id = ? AND Action_major_id = ? ORDER BY "
                               "Action_id"),
                {id, m.value(0)});
            while (a.next()) {
                const auto day = [](const QVariant& v) {
                    return v.isNull() ? QStringLiteral("-") : v.toDate().toString(Qt::ISODate);
                };
                actions << a.value(0).toString() + QLatin1Char(' ') + day(a.value(1)) +
                               QLatin1Char('/') + day(a.value(2));
            }
            majors << m.value(1).toString() + QLatin1Char('[') +
                          actions.join(QStringLiteral(", ")) + QLatin1Char(']');
        }
        return majors.join(QLatin1Char(';'));
    }
    QString counts() {
        QStringList out;
        for (const char* t : {"projects", "major", "action", "members", "ProjectTeam", "MajorTeam",
                              "actionTeam", "Projectnotes", "Majornotes", "actionnotes"})
            out << rows(QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(t)).value(0);
        return out.join(QLatin1Char(' '));
    }
    // What GNOME Planner makes of an export: its own stylesheet turns the file into a Planner
    // project, which must convert without a complaint and be valid by Planner's document type.
    // Returns the Planner file's text.
    QString readByPlanner(const QString& xml) {
        const QString sheet = QStringLiteral("/usr/share/planner/stylesheets/msp2planner.xsl");
        const QString dtd = QStringLiteral("/usr/share/planner/dtd/mrproject-0.6.dtd");
        if (!QFile::exists(sheet) || !QFile::exists(dtd))
            QTest::qFail("planner-data is not installed (scripts/install-deps.sh installs it)",
                         __FILE__, __LINE__);
        const QString planner = xml + QStringLiteral(".planner");
        const ProgramRun converted =
            ProgramRun::of(QStringLiteral("xsltproc"), {QStringLiteral("-o"), planner, sheet, xml});
        if (converted.status != 0 || !converted.err.trimmed().isEmpty())
            QTest::qFail(qPrintable(QStringLiteral("msp2planner.xsl: ") + converted.err), __FILE__,
                         __LINE__);
        const ProgramRun valid =
            ProgramRun::of(QStringLiteral("xmllint"),
                           {QStringLiteral("--noout"), QStringLiteral("--dtdvalid"), dtd, planner});
        if (valid.status != 0)
            QTest::qFail(qPrintable(QStringLiteral("xmllint: ") + valid.err), __FILE__, __LINE__);
        QFile f(planner);
        const QString text =
            f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
        // What Planner checks as it loads ("Task 0 not found"): each allocation names a task and
        // a resource the project holds.
        static const QRegularExpression allocation(
            QStringLiteral("<allocation task-id=\"(\\d+)\" resource-id=\"(\\d+)\""));
        for (auto it = allocation.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            for (const QString& held : {QStringLiteral("<task id=\"%1\"").arg(m.captured(1)),
                                        QStringLiteral("<resource id=\"%1\"").arg(m.captured(2))})
                if (!text.contains(held))
                    QTest::qFail(qPrintable(m.captured(0) + QStringLiteral(": no ") + held),
                                 __FILE__, __LINE__);
        }
        return text;
    }
    // Exports project 12 as MS Project XML and checks it the way GNOME Planner reads it.
    QString exportChecked(const QString& name) {
        const QString xml = file(name);
        ProjectExchange(*data->store).exportFile(12, xml, ProjectExchange::Format::MsProjectXml);
        readByPlanner(xml);
        QFile f(xml);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    // Schedules a TaskJuggler plan with tj3 and gives its MS Project XML export.
    QString scheduledByTaskJuggler(const QString& plan) {
        const QString folder = file(QStringLiteral("tj"));
        QDir().mkpath(folder);
        writeFile(QDir(folder).filePath(QStringLiteral("plan.tjp")),
                  (plan + QStringLiteral("\nexport \"export\" { formats mspxml }\n")).toUtf8());
        const ProgramRun run = ProgramRun::of(
            QStringLiteral("tj3"),
            {QStringLiteral("--silent"), QStringLiteral("--no-color"), QStringLiteral("plan.tjp")},
            QProcessEnvironment::systemEnvironment(), folder);
        if (run.status != 0)
            QTest::qFail(qPrintable(QStringLiteral("tj3 (scripts/install-deps.sh installs it): ") +
                                    run.err + run.out),
                         __FILE__, __LINE__);
        return QDir(folder).filePath(QStringLiteral("export.xml"));
    }
    ProgramRun vokctl(const QStringList& arguments) {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert(QStringLiteral("VOK_ENGINE_CONFIG"), file(QStringLiteral("engine.cfg")));
        return ProgramRun::of(QStringLiteral(VOKCTL), arguments, e, env->root());
    }

private Q_SLOTS:
    void initTestCase_data() { Engines::addRows(); }

    void init() {
        VOK_INIT_ENGINE();
        env = std::make_unique<TestEnvironment>();
        StorageConfiguration::writeEntries();
        folder = env->emptyFolder();
        data = std::make_unique<ProjectData>();
        data->connectTo(folder);
        for (const char* q : seedSql)
            data->store->exec(QLatin1String(q));
    }

    void cleanup() {
        data.reset();
        if (windows)
            tearDown();
        env.reset();
    }

    // ------------------------------------------------------------ MS Project XML both ways

    void exportThenImportGivesTheSameProject() {
        // All of it done, but not marked completed.
        data->store->exec(QStringLiteral("UPDATE action SET Action_perc_complete = 100 WHERE "
                                         "Action_id = 6"));
        ProjectExchange exchange(*data->store);
        const QString xml = file(QStringLiteral("alpha.xml"));
        const QStringList wrote =
            exchange.exportFile(12, xml, ProjectExchange::Format::MsProjectXml).lines;
        QVERIFY2(wrote.value(0).contains(QLatin1String("2 major activities, 3 actions")),
                 qPrintable(wrote.join(QLatin1Char('\n'))));
        // The project's team is where other tools keep custom data, not on a task they lack.
        const QString planner = readByPlanner(xml);
        QVERIFY2(planner.contains(QLatin1String("name=\"Ann\"")), qPrintable(planner));
        const QString before = counts();
        const ProjectExchange::Outcome back =
            exchange.importFile(xml, QStringLiteral("Alpha again"));
        QVERIFY(back.project != 12);
        QCOMPARE(rows(QStringLiteral("SELECT Zel_project FROM projects WHERE Zel_Project_id = ?"),
                      {back.project}),
                 QStringList{QStringLiteral("Alpha again")});
        QCOMPARE(shape(back.project), shape(12));
        // The members were known: none added.
        QCOMPARE(rows(QStringLiteral("SELECT COUNT(*) FROM members")).value(0),
                 QStringLiteral("2"));
        QVERIFY(before != counts());
    }

    void exportedXmlFollowsTheSchemaOrder() {
        const QString xml = file(QStringLiteral("alpha.xml"));
        ProjectExchange(*data->store).exportFile(12, xml, ProjectExchange::Format::MsProjectXml);
        QFile f(xml);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        // A task's elements in the published order, with the project as task 0 at level 0.
        const QStringList order{
            QStringLiteral("<UID>0</UID>"),
            QStringLiteral("<Name>Alpha</Name>"),
            QStringLiteral("<OutlineLevel>0</OutlineLevel>"),
            QStringLiteral("<Start>2024-03-04T08:00:00</Start>"),
            QStringLiteral("<Finish>2024-04-26T17:00:00</Finish>"),
            QStringLiteral("<Work>PT320H0M0S</Work>"),
            QStringLiteral("<Summary>1</Summary>"),
            QStringLiteral("<PercentComplete>20</PercentComplete>"),
            QStringLiteral("<ActualCost>123456</ActualCost>"),
            QStringLiteral("<ActualWork>PT41H30M0S</ActualWork>"),
            QStringLiteral("<Notes>"),
            QStringLiteral("<OutlineLevel>1</OutlineLevel>"),
            QStringLiteral("<Tasks>"),
        };
        qsizetype at = text.indexOf(QLatin1String("<Tasks>"));
        for (const QString& piece : order.mid(0, order.size() - 2)) {
            const qsizetype next = text.indexOf(piece, at);
            QVERIFY2(next > at, qPrintable(piece));
            at = next;
        }
        qsizetype last = -1;
        for (const char* top :
             {"<SaveVersion>", "<Title>", "<Company>", "<Manager>", "<StartDate>", "<CurrencyCode>",
              "<CalendarUID>", "<Calendars>", "<Tasks>", "<Resources>", "<Assignments>"}) {
            const qsizetype here = text.indexOf(QLatin1String(top));
            QVERIFY2(here > last, top);
            last = here;
        }
        QVERIFY(text.contains(QLatin1String("&lt;soon&gt; &amp; well")));
        QVERIFY(!text.contains(QLatin1String("<!DOCTYPE")));
        // Numbered as other programs show them: 1, 1.1, 1.2, 2, 2.1.
        static const QRegularExpression numbers(
            QStringLiteral("<WBS>([^<]*)</WBS>\\s*<OutlineNumber>([^<]*)</OutlineNumber>"));
        QStringList wbs;
        for (auto it = numbers.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            QCOMPARE(m.captured(1), m.captured(2));
            wbs << m.captured(2);
        }
        QCOMPARE(wbs, (QStringList{"1", "1.1", "1.2", "2", "2.1"}));
        readByPlanner(xml);
    }

    void completedComesFromTheFilesOwnCompletedState() {
        // Done is 100 % with an actual finish: an actual finish alone is only when it ended (some
        // tools write one for every task), 100 % alone is all done and still open.
        const QString af = QStringLiteral("<ActualFinish>2024-03-05T17:00:00</ActualFinish>");
        writeFile(file(QStringLiteral("in.xml")),
                  mspdi(QStringLiteral("<Title>Done</Title>"),
                        task(1, 1, QStringLiteral("M")) +
                            task(2, 2, QStringLiteral("done"),
                                 QStringLiteral("<PercentComplete>100</PercentComplete>") + af) +
                            task(3, 2, QStringLiteral("ended at 0 %"),
                                 QStringLiteral("<PercentComplete>0</PercentComplete>") + af) +
                            task(4, 2, QStringLiteral("100 % and open"),
                                 QStringLiteral("<PercentComplete>100</PercentComplete>"))));
        const int id =
            ProjectExchange(*data->store).importFile(file(QStringLiteral("in.xml"))).project;
        QCOMPARE(rows(QStringLiteral("SELECT Action_name, Action_completed, Action_perc_complete "
                                     "FROM action WHERE Action_project_id = ? ORDER BY Action_id"),
                      {id}),
                 (QStringList{"done|1|100", "ended at 0 %|0|0", "100 % and open|0|100"}));
    }

    // Plans TaskJuggler schedules, read from its own MS Project export: days from midnight to
    // midnight, an actual finish on every task, resources with commas in their names, links.
    void filesTaskJugglerWritesImportAsScheduled_data() {
        QTest::addColumn<QString>("plan");
        QTest::addColumn<QString>("tree");
        QTest::addColumn<QStringList>("actions"); // name|completed|percent|team
        QTest::addColumn<QStringList>("told");
        QTest::newRow("linked tasks of whole days, some done")
            << "project move \"Office move\" 2024-03-04 +3m { timezone \"UTC\" now 2024-03-20 }\n"
               "resource ann \"Ann\" { email \"ann@example.com\" }\n"
               "resource bob \"Bob, Jr.\"\n"
               "task plan \"Plan\" {\n"
               "  task survey \"Survey\" { start 2024-03-04 duration 3d allocate ann complete 100 "
               "}\n"
               "  task budget \"Budget\" { depends !survey length 2d allocate bob complete 0 }\n"
               "}\n"
               "task move \"Move\" {\n"
               "  task pack \"Pack\" { depends plan.budget effort 4d allocate ann, bob complete 50 "
               "}\n"
               "}\n"
            << "Plan[Survey 2024-03-04/2024-03-06, Budget 2024-03-07/2024-03-08];Move[Pack "
               "2024-03-11/2024-03-12]"
            << QStringList{"Survey|1|100|Ann", "Budget|0|0|Bob, Jr.", "Pack|0|50|Ann;Bob, Jr."}
            << QStringList{"New members: 'Bob, Jr.'", "2 dependency link(s)"};
        QTest::newRow("a one-day task and a milestone")
            << "project p \"Yard\" 2024-03-04 +1m { timezone \"UTC\" now 2024-03-04 }\n"
               "task yard \"Yard\" {\n"
               "  task dig \"Dig\" { start 2024-03-04 duration 1d }\n"
               "  task done \"Done\" { start 2024-03-08 milestone }\n"
               "}\n"
            << "Yard[Dig 2024-03-04/2024-03-04, Done 2024-03-08/2024-03-08]"
            << QStringList{"Dig|0|0|", "Done|0|0|"} << QStringList{};
    }

    void filesTaskJugglerWritesImportAsScheduled() {
        QFETCH(QString, plan);
        QFETCH(QString, tree);
        QFETCH(QStringList, actions);
        QFETCH(QStringList, told);
        const QString xml = scheduledByTaskJuggler(plan);
        const ProjectExchange::Outcome done = ProjectExchange(*data->store).importFile(xml);
        QCOMPARE(this->tree(done.project), tree);
        QStringList read;
        QSqlQuery q = data->store->exec(
            QStringLiteral("SELECT Action_project_id, Action_major_id, Action_id, Action_name, "
                           "Action_completed, Action_perc_complete FROM action WHERE "
                           "Action_project_id = ? ORDER BY Action_id"),
            {done.project});
        while (q.next()) {
            const QStringList team =
                rows(QStringLiteral("SELECT ActionTeam_member FROM actionTeam WHERE "
                                    "ActionTeam_project_id = ? AND ActionTeam_major_id = ? AND "
                                    "ActionTeam_action_id = ? ORDER BY ActionTeam_id"),
                     {q.value(0), q.value(1), q.value(2)});
            read << QStringList{q.value(3).toString(), q.value(4).toString(), q.value(5).toString(),
                                team.join(QLatin1Char(';'))}
                        .join(QLatin1Char('|'));
        }
        QCOMPARE(read, actions);
        const QString output = done.lines.join(QLatin1Char('\n'));
        for (const QString& piece : told)
            QVERIFY2(output.contains(piece), qPrintable(output));
    }

    void filesOfOtherProgramsImportAsDescribed_data() {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("tree");
        QTest::addColumn<QString>("told"); // a piece of the output, or empty

        const QString resources =
            QStringLiteral("<Resources><Resource><UID>0</UID><ID>0</ID><IsNull>0</IsNull>"
                           "</Resource><Resource><UID>1</UID><Name>Ann</Name></Resource>"
                           "<Resource><UID>2</UID><Name>Zed</Name><EmailAddress>zed@example.com"
                           "</EmailAddress></Resource></Resources><Assignments>"
                           "<Assignment><UID>1</UID><TaskUID>2</TaskUID><ResourceUID>1"
                           "</ResourceUID></Assignment><Assignment><UID>2</UID><TaskUID>5"
                           "</TaskUID><ResourceUID>2</ResourceUID></Assignment><Assignment><UID>3"
                           "</UID><TaskUID>6</TaskUID><ResourceUID>2</ResourceUID></Assignment>"
                           "<Assignment><UID>4</UID><TaskUID>0</TaskUID><ResourceUID>2"
                           "</ResourceUID></Assignment><Assignment><UID>5</UID><TaskUID>3"
                           "</TaskUID><ResourceUID>-65535</ResourceUID></Assignment>"
                           "<Assignment><UID>6</UID><TaskUID>5</TaskUID><ResourceUID>3"
                           "</ResourceUID></Assignment><Assignment><UID>7</UID><TaskUID>5"
                           "</TaskUID><ResourceUID>4</ResourceUID></Assignment>"
                           "</Assignments>");
        // Material and cost resources are no one's name.
        const QString things =
            QStringLiteral("<Resource><UID>3</UID><Name>Cement</Name><Type>0</Type></Resource>"
                           "<Resource><UID>4</UID><Name>Travel</Name><Type>2</Type></Resource>");
        const QString link = QStringLiteral("<PredecessorLink><PredecessorUID>2</PredecessorUID>"
                                            "<Type>1</Type></PredecessorLink>");
        QTest::newRow("summary task 0 at level 0, deeper levels folded")
            << mspdi(QString(),
                     task(0, 0, QStringLiteral("Office move"), dated("2024-03-04", "2024-03-29")) +
                         task(1, 1, QStringLiteral("Plan")) +
                         task(2, 2, QStringLiteral("Survey"), dated("2024-03-04", "2024-03-05")) +
                         task(3, 2, QStringLiteral("Budget"),
                              dated("2024-03-06", "2024-03-06") + link) +
                         task(4, 1, QStringLiteral("Move")) +
                         task(5, 2, QStringLiteral("Pack"), dated("2024-03-11", "2024-03-15")) +
                         task(6, 3, QStringLiteral("Books"), dated("2024-03-11", "2024-03-12")) +
                         task(7, 4, QStringLiteral("Shelf A"),
                              QStringLiteral("<Notes>top "
                                             "shelf</Notes>")),
                     QString(resources).replace(QStringLiteral("</Resources>"),
                                                things + QStringLiteral("</Resources>")))
            << "Office move"
            << "Plan[Survey 2024-03-04/2024-03-05, Budget 2024-03-06/2024-03-06];Move[Pack "
               "2024-03-11/2024-03-15]"
            << "folded into their action's description: 'Books' into 'Pack', 'Shelf A' into "
               "'Pack'\n2 resource(s) that are not people (material or cost) left out of the "
               "teams: 'Cement', 'Travel'\n1 dependency link(s) between tasks left out";
        QTest::newRow("no summary task, top level at 1, title names it")
            << mspdi(QStringLiteral("<Name>g.xml</Name><Title>Garden</Title>"),
                     task(1, 1, QStringLiteral("Design"), QStringLiteral("<Summary>1</Summary>")) +
                         task(2, 2, QStringLiteral("Sketch"), dated("2024-05-06", "2024-05-07")) +
                         task(3, 1, QStringLiteral("Build")))
            << "Garden"
            << "Design[Sketch 2024-05-06/2024-05-07];Build[]"
            << "";
        QTest::newRow("top level at 0 without a summary task, named by the file")
            << mspdi(QStringLiteral("<Name>Shed.xml</Name>"),
                     task(1, 0, QStringLiteral("Walls")) + task(2, 1, QStringLiteral("Frame")) +
                         task(3, 0, QStringLiteral("Roof")))
            << "Shed"
            << "Walls[Frame -/-];Roof[]"
            << "";
        QTest::newRow("outline numbers only, day-only and zoned times, durations for finish")
            << mspdi(QStringLiteral("<Title>Yard</Title><MinutesPerDay>480</MinutesPerDay>"),
                     QStringLiteral("<Task><UID>1</UID><Name>Phase</Name><OutlineNumber>1"
                                    "</OutlineNumber></Task><Task><UID>2</UID><Name>Dig</Name>"
                                    "<OutlineNumber>1.1</OutlineNumber><Start>2024-03-04</Start>"
                                    "<Duration>PT24H0M0S</Duration></Task><Task><UID>3</UID>"
                                    "<Name>Fill</Name><OutlineNumber>1.2</OutlineNumber><Start>"
                                    "2024-03-08T09:30:00.000+01:00</Start><Duration>P2D"
                                    "</Duration><Work>PT12H30M</Work></Task>"))
            << "Yard"
            << "Phase[Dig 2024-03-04/2024-03-06, Fill 2024-03-08/2024-03-11]"
            << "";
        QTest::newRow("finishes at midnight end the day before")
            << mspdi(QStringLiteral("<Title>Midnight</Title>"),
                     task(1, 1, QStringLiteral("Week")) +
                         task(2, 2, QStringLiteral("Two days"),
                              QStringLiteral("<Start>2024-03-04T00:00:00</Start><Finish>"
                                             "2024-03-06T00:00:00</Finish>")) +
                         task(3, 2, QStringLiteral("One day"),
                              QStringLiteral("<Start>2024-03-04T00:00:00</Start><Finish>"
                                             "2024-03-05T00:00:00.000+01:00</Finish>")) +
                         task(4, 2, QStringLiteral("Milestone"),
                              QStringLiteral("<Start>2024-03-08T00:00:00</Start><Finish>"
                                             "2024-03-08T00:00:00</Finish>")))
            << "Midnight"
            << "Week[Two days 2024-03-04/2024-03-05, One day 2024-03-04/2024-03-04, Milestone "
               "2024-03-08/2024-03-08]"
            << "";
        QTest::newRow("no title and no named summary task: the file's name")
            << mspdi(QString(), task(0, 0, QString()) + task(1, 1, QStringLiteral("A"))) << "in"
            << "A[]"
            << "";
        QTest::newRow("a name longer than its field is cut and told")
            << mspdi(QStringLiteral("<Title>Long</Title>"),
                     task(1, 1, QString(120, QLatin1Char('x'))) +
                         task(2, 2, QStringLiteral("a&amp;b")))
            << "Long" << QString(100, QLatin1Char('x')) + QStringLiteral("[a&b -/-]")
            << "Major activity name cut to 100 characters";
        QTest::newRow("empty task rows and a task before any summary")
            << mspdi(QStringLiteral("<Title>Odd</Title>"),
                     QStringLiteral("<Task><UID>9</UID><IsNull>1</IsNull></Task>") +
                         task(1, 2, QStringLiteral("Early")) + task(2, 1, QStringLiteral("Later")))
            << "Odd"
            << "Early[];Later[]"
            << "1 empty task row(s) left out";
    }

    void filesOfOtherProgramsImportAsDescribed() {
        QFETCH(QByteArray, xml);
        QFETCH(QString, name);
        QFETCH(QString, tree);
        QFETCH(QString, told);
        const QString path = file(QStringLiteral("in.xml"));
        writeFile(path, xml);
        const ProjectExchange::Outcome done = ProjectExchange(*data->store).importFile(path);
        const QString output = done.lines.join(QLatin1Char('\n'));
        QCOMPARE(project(name), done.project);
        QCOMPARE(this->tree(done.project), tree);
        if (!told.isEmpty())
            QVERIFY2(output.contains(told), qPrintable(output));
        if (name != QLatin1String("Office move"))
            return;
        // Resources are members by name; their assignments are the teams, once per item.
        QCOMPARE(rows(QStringLiteral("SELECT ProjectTeam_member FROM ProjectTeam WHERE "
                                     "ProjectTeam_project_id = ?"),
                      {done.project}),
                 QStringList{QStringLiteral("Zed")});
        QCOMPARE(rows(QStringLiteral("SELECT a.Action_name, t.ActionTeam_member, "
                                     "t.ActionTeam_email, t.ActionTeam_tel FROM actionTeam t JOIN "
                                     "action a ON a.Action_id = t.ActionTeam_action_id WHERE "
                                     "t.ActionTeam_project_id = ? ORDER BY t.ActionTeam_id"),
                      {done.project}),
                 (QStringList{QStringLiteral("Survey|Ann|ann@example.com|111"),
                              QStringLiteral("Pack|Zed|zed@example.com|")}));
        QCOMPARE(rows(QStringLiteral("SELECT Member_email FROM members WHERE Member_name = 'Zed'")),
                 QStringList{QStringLiteral("zed@example.com")});
        QVERIFY(output.contains(QLatin1String("New members: 'Zed'")));
        QCOMPARE(rows(QStringLiteral("SELECT Action_description FROM action WHERE "
                                     "Action_project_id = ? AND Action_name = 'Pack'"),
                      {done.project}),
                 QStringList{QStringLiteral("- Books (2024-03-11 to 2024-03-12, 0 %)\n  - Shelf A "
                                            "(0 %)\ntop shelf")});
    }

    void baselineZeroGivesTheBudgets_data() {
        QTest::addColumn<QString>("task");
        QTest::addColumn<QStringList>("budgets"); // budget hours, budget (-1: none)
        const auto baseline = [](int number, const char* work, const char* cost) {
            return QStringLiteral("<Baseline><Number>%1</Number><Work>%2</Work><Cost>%3</Cost>"
                                  "</Baseline>")
                .arg(number)
                .arg(QLatin1String(work), QLatin1String(cost));
        };
        QTest::newRow("baseline 0, another baseline passed over")
            << QStringLiteral("<Work>PT10H0M0S</Work>") + baseline(1, "PT99H0M0S", "9900") +
                   baseline(0, "PT40H30M0S", "250050")
            << QStringList{"40.5", "2500.5"};
        QTest::newRow("no baseline: the work, no budget")
            << QStringLiteral("<Work>PT10H0M0S</Work>") << QStringList{"10", "-1"};
        QTest::newRow("a negative baseline is no budget")
            << QStringLiteral("<Work>PT10H0M0S</Work>") + baseline(0, "-PT5H0M0S", "-100")
            << QStringList{"10", "-1"};
    }

    void baselineZeroGivesTheBudgets() {
        QFETCH(QString, task);
        QFETCH(QStringList, budgets);
        const QString path = file(QStringLiteral("baseline.xml"));
        writeFile(path, mspdi(QStringLiteral("<Title>Planned</Title>"),
                              ::task(1, 1, QStringLiteral("A")) +
                                  ::task(2, 2, QStringLiteral("B"), task)));
        const int id = ProjectExchange(*data->store).importFile(path).project;
        const QStringList stored =
            rows(QStringLiteral("SELECT Action_budget_hours, COALESCE(Action_budget, -1) FROM "
                                "action WHERE Action_project_id = ?"),
                 {id});
        QCOMPARE(stored.value(0).split(QLatin1Char('|')), budgets);
    }

    void hostileOrBrokenFilesAreRefusedAndNothingIsStored_data() {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("told");
        const QByteArray good =
            mspdi(QStringLiteral("<Title>T</Title>"),
                  task(1, 1, QStringLiteral("A")) + task(2, 2, QStringLiteral("B")));
        QTest::newRow("external entity")
            << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE Project [<!ENTITY x SYSTEM "
                          "\"file:///etc/passwd\">]>"
                          "<Project><Title>&x;</Title></Project>")
            << "document type declaration";
        QByteArray laughs = "<?xml version=\"1.0\"?><!DOCTYPE Project [<!ENTITY a \"aaaaaaaaaa\">";
        for (char c = 'b'; c <= 'j'; ++c)
            laughs += QStringLiteral("<!ENTITY %1 \"&%2;&%2;&%2;&%2;&%2;&%2;&%2;&%2;&%2;&%2;\">")
                          .arg(QLatin1Char(c))
                          .arg(QLatin1Char(c - 1))
                          .toLatin1();
        laughs += "]><Project><Title>&j;</Title></Project>";
        QTest::newRow("billion laughs") << laughs << "document type declaration";
        QTest::newRow("undeclared entity")
            << QByteArray("<Project><Title>&x;</Title></Project>") << "entity";
        QTest::newRow("cut short") << good.left(good.size() - 40) << "cut short";
        QTest::newRow("not MS Project XML")
            << QByteArray("<html><body>Project</body></html>") << "not MS Project XML";
        QTest::newRow("not XML") << QByteArray("PK\x03\x04 binary", 12) << "not well-formed";
        QTest::newRow("empty file") << QByteArray() << "cut short";
        QByteArray many = "<Project><Tasks>";
        for (int i = 0; i <= MspdiReader::MaxTasks; ++i)
            many += "<Task/>";
        many += "</Tasks></Project>";
        QTest::newRow("absurd task count") << many << "more than 50000 tasks";
        QTest::newRow("name of a project there is")
            << mspdi(QStringLiteral("<Title>Alpha</Title>"), task(1, 1, QStringLiteral("A")))
            << "a project named 'Alpha' exists already";
    }

    void hostileOrBrokenFilesAreRefusedAndNothingIsStored() {
        QFETCH(QByteArray, xml);
        QFETCH(QString, told);
        const QString path = file(QStringLiteral("bad.xml"));
        writeFile(path, xml);
        const QString before = counts();
        QString message;
        try {
            ProjectExchange(*data->store).importFile(path);
        } catch (const std::exception& e) {
            message = QString::fromUtf8(e.what());
        }
        QVERIFY2(message.contains(told), qPrintable(message));
        QCOMPARE(counts(), before);
    }

    // ------------------------------------------------------------ iCalendar

    void icalendarEscapesAndFoldsItsLines_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("escaped");
        QTest::newRow("plain") << "Pour"
                               << "Pour";
        QTest::newRow("separators") << "a,b;c\\d"
                                    << "a\\,b\\;c\\\\d";
        QTest::newRow("line ends") << "one\r\ntwo\nthree"
                                   << "one\\ntwo\\nthree";
        QTest::newRow("control characters dropped") << QStringLiteral("a\x01"
                                                                      "b\x7f"
                                                                      "c")
                                                    << "abc";
    }

    void icalendarEscapesAndFoldsItsLines() {
        QFETCH(QString, text);
        QFETCH(QString, escaped);
        QCOMPARE(ICalendarWriter::escaped(text), escaped);
        // Long lines of several-byte characters: no physical line over 75 octets, no character
        // split, and unfolding gives the line back.
        const QString line =
            QStringLiteral("SUMMARY:") + QString::fromUtf8("béton ✓ 💡 ").repeated(20) + escaped;
        const QByteArray folded = ICalendarWriter::folded(line);
        QVERIFY(folded.endsWith("\r\n"));
        const QList<QByteArray> physical = folded.chopped(2).split('\n');
        for (const QByteArray& l : physical) {
            QVERIFY(l.chopped(l.endsWith('\r') ? 1 : 0).size() <= 75);
            QVERIFY(QString::fromUtf8(l).toUtf8() == l); // whole characters only
        }
        QCOMPARE(QString::fromUtf8(QByteArray(folded).replace("\r\n ", "").chopped(2)), line);
    }

    void icalendarReadsBackWithARealReader_data() {
        QTest::addColumn<QString>("member");
        QTest::addColumn<QStringList>("todos");
        const QString survey = QStringLiteral(
            "vok-action-12-3-5@vok|Alpha / Plan / Survey, rooms; floors|2024-03-04T08:00:00|"
            "2024-03-06T17:00:00|100|COMPLETED|Line one\nline two");
        const QString budget = QStringLiteral("vok-action-12-3-6@vok|Alpha / Plan / "
                                              "Budget|2024-03-07T08:00:00|2024-03-07T17:00:00|60|"
                                              "IN-PROCESS|");
        QTest::newRow("every dated action") << QString() << QStringList{survey, budget};
        QTest::newRow("one member's actions") << "Ann" << QStringList{survey};
        QTest::newRow("a member with no dated action") << "Lee" << QStringList{};
    }

    void icalendarReadsBackWithARealReader() {
        QFETCH(QString, member);
        QFETCH(QStringList, todos);
        if (member == QLatin1String("Lee"))
            data->store->exec(QStringLiteral("INSERT INTO members (Member_name) VALUES ('Lee')"));
        const QString ics = file(QStringLiteral("alpha.ics"));
        ProjectExchange(*data->store)
            .exportFile(12, ics, ProjectExchange::Format::ICalendar, member);
        const QString script = QStringLiteral(
            "import sys, icalendar\n"
            "cal = icalendar.Calendar.from_ical(open(sys.argv[1], 'rb').read())\n"
            "assert cal['VERSION'] == '2.0' and cal['PRODID']\n"
            "for t in cal.walk('VTODO'):\n"
            "    assert t['DTSTAMP']\n"
            "    print('|'.join([str(t['UID']), str(t['SUMMARY']), t['DTSTART'].dt.isoformat(),\n"
            "        t['DUE'].dt.isoformat(), str(t['PERCENT-COMPLETE']), str(t['STATUS']),\n"
            "        str(t.get('DESCRIPTION', ''))]).replace('\\n', '\\\\n'))\n");
        QProcess python;
        python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, ics});
        QVERIFY(python.waitForFinished(60000));
        const QString err = QString::fromUtf8(python.readAllStandardError());
        if (err.contains(QLatin1String("No module named 'icalendar'")))
            QSKIP("python3-icalendar is not installed (scripts/install-deps.sh installs it)");
        QVERIFY2(python.exitCode() == 0, qPrintable(err));
        QStringList read = QString::fromUtf8(python.readAllStandardOutput())
                               .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (QString& line : read)
            line.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
        QCOMPARE(read, todos);
    }

    // ------------------------------------------------------------ vokctl

    void vokctlImportsAndExports() {
        const QString xml = file(QStringLiteral("out.xml"));
        ProgramRun r = vokctl({QStringLiteral("export-project"), QStringLiteral("--data"), folder,
                               QStringLiteral("--project"), QStringLiteral("Alpha"),
                               QStringLiteral("--xml"), xml});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QVERIFY(r.out.startsWith(QStringLiteral("Wrote '") + xml));
        r = vokctl({QStringLiteral("import-project"), QStringLiteral("--data"), folder,
                    QStringLiteral("--xml"), xml, QStringLiteral("--project"),
                    QStringLiteral("Beta")});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QVERIFY2(r.out.contains(QLatin1String("as project")), qPrintable(r.out));
        QCOMPARE(shape(project(QStringLiteral("Beta"))), shape(12));
        // Again under the file's own title: that project is there, so nothing is imported.
        r = vokctl({QStringLiteral("import-project"), QStringLiteral("--data"), folder,
                    QStringLiteral("--xml"), xml});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(QLatin1String("exists already")), qPrintable(r.err));
        r = vokctl({QStringLiteral("export-project"), QStringLiteral("--data"), folder,
                    QStringLiteral("--project"), QStringLiteral("Alpha"), QStringLiteral("--xml"),
                    xml, QStringLiteral("--ics"), file(QStringLiteral("a.ics"))});
        QCOMPARE(r.status, 2);
        r = vokctl({QStringLiteral("export-project"), QStringLiteral("--data"), folder,
                    QStringLiteral("--project"), QStringLiteral("Alpha"), QStringLiteral("--ics"),
                    file(QStringLiteral("a.ics")), QStringLiteral("--member"),
                    QStringLiteral("Nobody")});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(QLatin1String("no member is named 'Nobody'")), qPrintable(r.err));
        QVERIFY(!QFile::exists(file(QStringLiteral("a.ics"))));
    }

    // ------------------------------------------------------------ the window

    void windowExportsAndImportsThroughItsMenus() {
        data.reset();
        env.reset();
        setUp();
        // Placed after what was there: nothing specified moves.
        QCOMPARE(form->menuBar()->actions().last()->objectName(), QStringLiteral("ImportProject1"));
        QCOMPARE(form->projectMenu->actions().last()->objectName(),
                 QStringLiteral("ExportProject1"));
        QCOMPARE(form->menuBar()->actions().at(form->menuBar()->actions().size() - 2)->objectName(),
                 QStringLiteral("Exit1"));
        QList<vok::FileDialogs::Request> asked;
        QString answer = QDir(env->root()).filePath(QStringLiteral("alpha"));
        int filter = 1; // iCalendar
        vok::FileDialogs::setHandler([&](const vok::FileDialogs::Request& r) {
            asked << r;
            return vok::FileDialogs::Answer{answer, filter};
        });
        select(QStringLiteral("12"));
        action(QStringLiteral("ExportProject1"))->trigger();
        QVERIFY(QFile::exists(answer + QStringLiteral(".ics")));
        QCOMPARE(asked.value(0).filters.size(), 2);
        QVERIFY(shown.value(0).text.startsWith(QLatin1String("Wrote")));

        filter = 0;
        action(QStringLiteral("ExportProject1"))->trigger();
        QVERIFY(QFile::exists(answer + QStringLiteral(".xml")));
        // A name typed with an extension says the format, whichever type is chosen.
        const auto start = [](const QString& path) {
            QFile f(path);
            return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.read(200)) : QString();
        };
        for (const auto& [typed, type, begins] :
             {std::tuple{"typed.xml", 1, "<?xml"}, std::tuple{"typed.ics", 0, "BEGIN:VCALENDAR"},
              std::tuple{"typed.XML", 1, "<?xml"}}) {
            const QString path = QDir(env->root()).filePath(QLatin1String(typed));
            const QString kept = std::exchange(answer, path);
            filter = type;
            action(QStringLiteral("ExportProject1"))->trigger();
            answer = kept;
            QVERIFY2(start(path).startsWith(QLatin1String(begins)), typed);
            QVERIFY(!QFile::exists(path + QStringLiteral(".ics")));
        }
        filter = 0;
        // Import it back as a project of its own name, after renaming the one that is there.
        sql(QStringLiteral("UPDATE projects SET Zel_project = 'Old Alpha' WHERE Zel_Project_id = "
                           "12"));
        answer += QStringLiteral(".xml");
        shown.clear();
        action(QStringLiteral("ImportProject1"))->trigger();
        vok::FileDialogs::setHandler({});
        QVERIFY2(shown.value(0).text.startsWith(QLatin1String("Imported")),
                 qPrintable(shown.value(0).text));
        const QString id = value(QStringLiteral("SELECT Zel_Project_id FROM projects WHERE "
                                                "Zel_project = 'Alpha'"));
        QVERIFY(!id.isEmpty());
        QCOMPARE(form->tree->idstrings.join(QLatin1Char(',')), id); // the new project is shown

        // The same file again: its name is taken, so the window asks for another, offering one.
        QStringList offered;
        QString typed = QStringLiteral("Alpha, moved");
        onModal = [&](QDialog* d) {
            auto* ask = qobject_cast<QInputDialog*>(d);
            if (!ask || d->objectName() != QLatin1String("ProjectNameDialog"))
                return int(QDialog::Rejected);
            offered << ask->textValue() << ask->labelText();
            if (typed.isEmpty())
                return int(QDialog::Rejected);
            ask->setTextValue(typed);
            return int(QDialog::Accepted);
        };
        vok::FileDialogs::setHandler([&](const vok::FileDialogs::Request&) {
            return vok::FileDialogs::Answer{answer, 0};
        });
        shown.clear();
        action(QStringLiteral("ImportProject1"))->trigger();
        QCOMPARE(offered.value(0), QStringLiteral("Alpha (2)"));
        QVERIFY(offered.value(1).contains(QLatin1String("'Alpha' exists already")));
        QVERIFY2(shown.value(0).text.contains(QLatin1String("'Alpha, moved'")),
                 qPrintable(shown.value(0).text));
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM projects WHERE Zel_project = 'Alpha, "
                                      "moved'")),
                 QStringLiteral("1"));
        // Asked again and cancelled: nothing is imported, nothing is said.
        typed.clear();
        shown.clear();
        const QString before = MainWindowFixture::counts();
        action(QStringLiteral("ImportProject1"))->trigger();
        vok::FileDialogs::setHandler({});
        QCOMPARE(offered.size(), 4);
        QCOMPARE(MainWindowFixture::counts(), before);
        QVERIFY(shown.isEmpty());
    }
};

QTEST_MAIN(TestExchange)
#include "tst_exchange.moc"

// The window's history of changes: each kind of step undone and done again, the whole data folder
// as it was each time; steps refused when another installation changed what they left; a step
// applied whole or not at all; nothing read or written while the history is not used.
#include "app/storageconfiguration.h"
#include "data/changehistory.h"
#include "data/projectcopy.h"
#include "data/projectcopytables.h"
#include "data/projectdata.h"
#include "data/projecthierarchy.h"
#include "framework/dataset/store.h"
#include "framework/dataset/transaction.h"
#include "support/engines.h"
#include "support/sqlrows.h"
#include "support/testenvironment.h"

#include <QtTest>
#include <functional>

using vok::Table;

namespace {

const char* const tables[] = {"projects",   "major",          "action",      "Projectnotes",
                              "Majornotes", "actionnotes",    "ProjectTeam", "MajorTeam",
                              "actionTeam", "ProjectContact", "ProjectTS",   "ProjectCost"};

} // namespace

class TestHistory : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<ProjectData> dm;
    std::unique_ptr<ProjectCopyTables> copies;
    std::unique_ptr<ChangeHistory> history;
    QString folder;

    QStringList rows(const QString& sql, const QVariantList& binds = {}) {
        return sqlRows(dm->store->exec(sql, binds));
    }
    // Every row of every table, numbers included: what an undo must give back exactly.
    QStringList everything() {
        QStringList out;
        for (const char* t : tables) {
            const QString table = QLatin1String(t);
            out << table + QLatin1Char(':');
            QStringList all = rows(QStringLiteral("SELECT * FROM %1").arg(table));
            all.sort();
            out += all;
        }
        return out;
    }
    // Another installation on the same data: a connection of its own.
    void elsewhere(const QString& sql) {
        vok::Store other;
        other.setParams({QStringLiteral("path=") + folder});
        other.open();
        other.exec(sql);
    }
    Table* positioned(int project, int major = 0, int action = 0) {
        if (!dm->projects->findKey({project}))
            qFatal("no project %d", project);
        if (major && !dm->Major->findKey({project, major}))
            qFatal("no major activity %d", major);
        if (action && !dm->Action->findKey({project, major, action}))
            qFatal("no action %d", action);
        return action ? dm->Action : (major ? dm->Major : dm->projects);
    }
    void set(Table* t, const char* field, const QVariant& value) {
        t->edit();
        t->fieldByName(QLatin1String(field)).setValue(value);
        t->post();
    }
    void deleteNode(int level) {
        ChangeHistory::Command command(history.get(), ChangeStep::Kind::Delete);
        vok::Transaction work(*dm->store);
        ProjectHierarchy(*dm).remove(level);
        work.commit();
        command.done();
    }
    void copyProject(int project) {
        positioned(project);
        ChangeHistory::Command command(history.get(), ChangeStep::Kind::Copy);
        ProjectCopy(*dm, *copies).run();
        command.done();
    }

    // The steps each row below takes, by name.
    std::map<QString, std::function<void()>> steps() {
        return {
            {"edit of a text field", [this] { set(positioned(12), "Zel_client", "Acme Ltd"); }},
            {"edit of a flag and a date at once",
             [this] {
                 Table* t = positioned(12, 3, 5);
                 t->edit();
                 t->fieldByName(QStringLiteral("Action_completed")).setValue(false);
                 t->fieldByName(QStringLiteral("Action_to_date")).setValue(QDate(2024, 5, 1));
                 t->post();
             }},
            {"add of a major activity",
             [this] {
                 positioned(12);
                 dm->Major->insert();
                 dm->Major->fieldByName(QStringLiteral("Major_item")).setValue("Paint");
                 dm->Major->post();
             }},
            {"add of a project",
             [this] {
                 dm->projects->insert();
                 dm->projects->fieldByName(QStringLiteral("Zel_project")).setValue("New");
                 dm->projects->post();
             }},
            {"delete of a major activity with its actions, teams and notes",
             [this] {
                 positioned(12, 3);
                 deleteNode(ProjectHierarchy::MajorLevel);
             }},
            {"delete of a project with its time sheet and cost rows",
             [this] {
                 positioned(12);
                 deleteNode(ProjectHierarchy::ProjectLevel);
             }},
            {"copy of a project", [this] { copyProject(12); }},
            {"note added",
             [this] {
                 positioned(12, 4);
                 dm->MajorNotes->insert();
                 dm->MajorNotes->fieldByName(QStringLiteral("Majornotes_note")).setValue("n");
                 dm->MajorNotes->post();
             }},
            {"team member changed",
             [this] {
                 positioned(12);
                 dm->ProjectTeam->first();
                 set(dm->ProjectTeam, "ProjectTeam_tel", "999");
             }},
            {"contact deleted",
             [this] {
                 positioned(12);
                 dm->Contacts->first();
                 dm->Contacts->deleteRecord();
             }},
        };
    }

    // Project 12 "Alpha": team, contacts, notes, time sheet and cost rows; major activities 3
    // (actions 5 and 6) and 4, with teams and notes. Project 14 "Lone".
    void seed() {
        dm->connectTo(folder);
        for (const char* q :
             {"INSERT INTO projects (Zel_Project_id, Zel_project, Zel_client, Zel_hours) VALUES "
              "(12, 'Alpha', 'Acme', 7.5), (14, 'Lone', NULL, NULL)",
              "INSERT INTO ProjectTeam (ProjectTeam_project_id, ProjectTeam_member, "
              "ProjectTeam_tel) VALUES (12, 'Ann', '111'), (12, 'Bob', '222')",
              "INSERT INTO ProjectContact (ProjectContact_project_id, ProjectContact_name) VALUES "
              "(12, 'Carol'), (12, 'Dave')",
              "INSERT INTO major (Major_project_id, Major_id, Major_item) VALUES (12, 3, "
              "'Design'), (12, 4, 'Build')",
              "INSERT INTO MajorTeam (MajorTeam_project_id, MajorTeam_major_id, MajorTeam_member) "
              "VALUES (12, 3, 'Ann')",
              "INSERT INTO action (Action_project_id, Action_major_id, Action_id, Action_name, "
              "Action_completed, Action_to_date) VALUES (12, 3, 5, 'Sketch', 1, '2024-04-01'), "
              "(12, 3, 6, 'Review', 0, NULL)",
              "INSERT INTO actionTeam (ActionTeam_project_id, ActionTeam_major_id, "
              "ActionTeam_action_id, ActionTeam_member) VALUES (12, 3, 5, 'Ann'), (12, 3, 6, "
              "'Bob')",
              "INSERT INTO Projectnotes (Projectnotes_project_id, Projectnotes_note) VALUES (12, "
              "'p')",
              "INSERT INTO Majornotes (Majornotes_project_id, Majornotes_major_id, "
              "Majornotes_note) VALUES (12, 3, 'm')",
              "INSERT INTO actionnotes (Actionnotes_project_id, Actionnotes_major_id, "
              "Actionnotes_action_id, Actionnotes_note) VALUES (12, 3, 5, 'a')",
              "INSERT INTO ProjectTS (ProjectTS_project_id, ProjectTS_major_id, "
              "ProjectTS_action_id, ProjectTS_member, ProjectTS_hours) VALUES (12, 3, 5, 'Ann', "
              "7.5)",
              "INSERT INTO ProjectCost (ProjectCost_project_id, ProjectCost_major_id, "
              "ProjectCost_action_id, ProjectCost_Amount) VALUES (12, 3, 0, 123.5)"})
            dm->store->exec(QLatin1String(q));
        dm->openWorkingTables();
        copies = std::make_unique<ProjectCopyTables>(dm->store);
        history = std::make_unique<ChangeHistory>(*dm, copies.get());
    }

private Q_SLOTS:
    void initTestCase_data() { Engines::addRows(); }
    void init() {
        VOK_INIT_ENGINE();
        env = std::make_unique<TestEnvironment>();
        StorageConfiguration::writeEntries(); // as at start: installations share the folder
        folder = env->emptyFolder();
        dm = std::make_unique<ProjectData>();
        seed();
    }
    void cleanup() {
        history.reset();
        copies.reset();
        dm.reset();
        env.reset();
    }

    void undoGivesBackTheDataAsItWasAndRedoAsItBecame_data() {
        QTest::addColumn<QString>("step");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("named");
        QTest::addColumn<QString>("shownAfterUndo");
        const auto row = [](const char* step, ChangeStep::Kind kind, const char* named,
                            const char* node) {
            QTest::newRow(step) << QString::fromUtf8(step) << int(kind) << QString::fromUtf8(named)
                                << QString::fromUtf8(node);
        };
        using K = ChangeStep::Kind;
        row("edit of a text field", K::Edit, "project “Alpha”/Zel_client", "12");
        row("edit of a flag and a date at once", K::Edit,
            "action “Sketch”/Action_to_date,Action_completed", "12,3,5");
        row("add of a major activity", K::Add, "major activity “Paint”", "12");
        row("add of a project", K::Add, "project “New”", "");
        row("delete of a major activity with its actions, teams and notes", K::Delete,
            "major activity “Design”", "12,3");
        row("delete of a project with its time sheet and cost rows", K::Delete, "project “Alpha”",
            "12");
        row("copy of a project", K::Copy, "project “Copy of Alpha”", "");
        row("note added", K::Add, "a note", "12,4");
        row("team member changed", K::Edit, "team member “Ann”/ProjectTeam_tel", "12");
        row("contact deleted", K::Delete, "contact “Carol”", "12");
    }
    void undoGivesBackTheDataAsItWasAndRedoAsItBecame() {
        QFETCH(QString, step);
        QFETCH(int, kind);
        QFETCH(QString, named);
        QFETCH(QString, shownAfterUndo);
        const QStringList before = everything();
        steps().at(step)();
        const QStringList after = everything();
        QVERIFY(after != before);
        QCOMPARE(history->undoCount(), 1);
        const ChangeStep& s = *history->nextUndo();
        QCOMPARE(int(s.kind), kind);
        QString name = ChangeStep::describe(s.mainRow());
        if (!s.fields.isEmpty())
            name += QLatin1Char('/') + s.fields.join(QLatin1Char(','));
        QCOMPARE(name, named);

        const ChangeHistory::Outcome undone = history->undo();
        QVERIFY2(undone.done, qPrintable(undone.refusal));
        QCOMPARE(undone.node, shownAfterUndo);
        // Every row back under its own number, time sheet and cost rows included.
        QCOMPARE(everything(), before);
        QVERIFY(!history->nextUndo());
        QVERIFY(history->nextRedo());

        const ChangeHistory::Outcome redone = history->redo();
        QVERIFY2(redone.done, qPrintable(redone.refusal));
        QCOMPARE(everything(), after);
        // Again and again: each time to the same data.
        QVERIFY(history->undo().done);
        QCOMPARE(everything(), before);
        QVERIFY(history->redo().done);
        QCOMPARE(everything(), after);
    }

    void aNewStepClearsWhatCouldBeRedone() {
        set(positioned(12), "Zel_client", "One");
        QVERIFY(history->undo().done);
        QVERIFY(history->nextRedo());
        set(positioned(14), "Zel_client", "Two");
        QVERIFY(!history->nextRedo());
        QCOMPARE(history->undoCount(), 1);
    }

    void pendingTypingIsStoredAndIsTheStepUndone() {
        set(positioned(12), "Zel_client", "First");
        Table* t = positioned(12);
        t->edit();
        t->fieldByName(QStringLiteral("Zel_client")).setValue("Second");
        QVERIFY(history->undo().done); // stores "Second", then takes it back
        QCOMPARE(rows("SELECT Zel_client FROM projects WHERE Zel_Project_id = 12"),
                 QStringList{"First"});
        QCOMPARE(history->undoCount(), 1);
    }

    void refusedWhereAnotherInstallationChangedWhatTheStepLeft_data() {
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("theirs");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("the same field")
            << "edit of a text field"
            << "UPDATE projects SET Zel_client = 'Theirs' WHERE Zel_Project_id = 12"
            << "another installation changed project “Alpha” since: Zel_client now holds "
               "“Theirs”";
        QTest::newRow("the record deleted")
            << "team member changed"
            << "DELETE FROM ProjectTeam WHERE ProjectTeam_member = 'Ann'"
            << "another installation deleted team member “Ann” since";
        QTest::newRow("a note added under a record added")
            << "add of a major activity"
            << "INSERT INTO Majornotes (Majornotes_project_id, Majornotes_major_id, "
               "Majornotes_note) SELECT 12, MAX(Major_id), 'theirs' FROM major"
            << "another installation added to major activity “Paint” since";
        QTest::newRow("the parent of a deleted record deleted")
            << "delete of a major activity with its actions, teams and notes"
            << "DELETE FROM projects WHERE Zel_Project_id = 12"
            << "major activity “Design” cannot come back: another installation deleted what it "
               "belongs to";
        QTest::newRow("hours booked on a project copied")
            << "copy of a project"
            << "UPDATE projects SET Zel_hours = 9 WHERE Zel_project = 'Copy of Alpha'"
            << "another installation changed project “Copy of Alpha” since: Zel_hours now holds "
               "“9”";
    }
    void refusedWhereAnotherInstallationChangedWhatTheStepLeft() {
        QFETCH(QString, step);
        QFETCH(QString, theirs);
        QFETCH(QString, refusal);
        // An older step on other rows stays usable after the refusal.
        set(positioned(14), "Zel_client", "Older");
        steps().at(step)();
        elsewhere(theirs);
        const QStringList now = everything();
        const ChangeHistory::Outcome out = history->undo();
        QVERIFY(!out.done);
        QCOMPARE(out.refusal, refusal);
        QCOMPARE(everything(), now); // nothing written, nothing half-written
        QCOMPARE(history->undoCount(), 1);
        QVERIFY(history->undo().done);
        QCOMPARE(rows("SELECT Zel_client FROM projects WHERE Zel_Project_id = 14"),
                 QStringList{QString()});
    }

    void anotherFieldChangedMeanwhileIsKept() {
        set(positioned(12), "Zel_client", "Mine");
        elsewhere(QStringLiteral("UPDATE projects SET Zel_hours = 9 WHERE Zel_Project_id = 12"));
        QVERIFY(history->undo().done);
        QCOMPARE(rows("SELECT Zel_client, Zel_hours FROM projects WHERE Zel_Project_id = 12"),
                 QStringList{"Acme|9"});
        // Done again over theirs, too.
        QVERIFY(history->redo().done);
        QCOMPARE(rows("SELECT Zel_client, Zel_hours FROM projects WHERE Zel_Project_id = 12"),
                 QStringList{"Mine|9"});
    }

    void aRefusedStepTakesTheStepsOnItsRowsWithIt() {
        set(positioned(12), "Zel_client", "One");       // on project 12
        set(positioned(14), "Zel_client", "Elsewhere"); // on project 14
        set(positioned(12), "Zel_client", "Two");       // on project 12 again
        elsewhere(QStringLiteral("UPDATE projects SET Zel_client = 'X' WHERE Zel_Project_id = 12"));
        const ChangeHistory::Outcome out = history->undo();
        QVERIFY(!out.done);
        // "One" could only be undone over what another installation stored: it goes too.
        QCOMPARE(out.dropped, 1);
        QCOMPARE(history->undoCount(), 1);
        QVERIFY(history->undo().done);
        QCOMPARE(rows("SELECT Zel_client FROM projects ORDER BY Zel_Project_id"),
                 (QStringList{"X", ""}));
    }

    void anUndoStoppedHalfWayLeavesEverythingAsItWas() {
        positioned(12, 3);
        deleteNode(ProjectHierarchy::MajorLevel);
        // Another installation put a row under the number of the action's note that went: the
        // major activity and its action, put back before the note, must not stay.
        elsewhere(QStringLiteral("INSERT INTO actionnotes (Actionnotes_id, Actionnotes_project_id, "
                                 "Actionnotes_note) VALUES (1, 14, 'x')"));
        const QStringList now = everything();
        const ChangeHistory::Outcome out = history->undo();
        QVERIFY(!out.done);
        QCOMPARE(out.refusal,
                 QStringLiteral("a note cannot come back under its number: another record holds "
                                "it"));
        QCOMPARE(everything(), now);
    }

    void keepsTheLastStepsUpToItsDepth() {
        Table* t = positioned(14);
        for (int i = 0; i < ChangeHistory::Depth + 5; ++i)
            set(t, "Zel_client", QString::number(i));
        QCOMPARE(history->undoCount(), ChangeHistory::Depth);
        for (int i = 0; i < ChangeHistory::Depth; ++i)
            QVERIFY(history->undo().done);
        QVERIFY(!history->nextUndo());
        QCOMPARE(rows("SELECT Zel_client FROM projects WHERE Zel_Project_id = 14"),
                 QStringList{"4"});
    }

    void rowsOfAnotherUnitAreNotSteps() {
        // A merge or an import writes in a unit of its own: not the window's to undo.
        {
            vok::Transaction work(*dm->store);
            set(positioned(12), "Zel_hours", 20.0);
            work.commit();
        }
        QCOMPARE(history->undoCount(), 0);
        // A command whose unit was undone leaves nothing either.
        {
            ChangeHistory::Command command(history.get(), ChangeStep::Kind::Delete);
            vok::Transaction work(*dm->store);
            positioned(12, 4);
            ProjectHierarchy(*dm).remove(ProjectHierarchy::MajorLevel);
            work.rollback();
            command.done();
        }
        QCOMPARE(history->undoCount(), 0);
    }

    void costsNothingWhileUnused() {
        // A walk of the tree and a post, counted with and without the history listening.
        int hours = 0;
        const auto work = [&] {
            const quint64 from = dm->store->statementsRun();
            for (dm->projects->first(); !dm->projects->eof(); dm->projects->next())
                for (dm->Major->first(); !dm->Major->eof(); dm->Major->next())
                    for (dm->Action->first(); !dm->Action->eof(); dm->Action->next())
                        dm->ActionTeam->first();
            set(positioned(12), "Zel_hours", double(++hours));
            dm->refreshAll();
            return dm->store->statementsRun() - from;
        };
        work();
        work(); // the statements kept and the server's change counter settle
        const quint64 with = work();
        history.reset();
        QCOMPARE(work(), with);
    }
};

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"

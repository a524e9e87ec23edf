// The main window on a real data folder, driven offscreen; confirmations answered through the
// message service.
#include "app/storageconfiguration.h"
#include "data/tdatamodule2.h"
#include "framework/dataset/store.h"
#include "framework/dataset/table.h"
#include "framework/ui/messages.h"
#include "framework/widgets/datalink.h"
#include "framework/widgets/dbctrlgrid.h"
#include "framework/widgets/dbdateedit.h"
#include "framework/widgets/dbedit.h"
#include "framework/widgets/dbgrid.h"
#include "framework/widgets/dbmemo.h"
#include "framework/widgets/tablemodel.h"
#include "support/testenvironment.h"
#include "ui/main/tform1.h"

#include <QComboBox>
#include <QSqlQuery>
#include <QtTest>

using vok::Messages;
using vok::Table;

namespace {

// Project 12 with major activities 3 (actions 5, 6) and 4 (actions 8 critical, 9 completed);
// project 14, completed, with major activity 7. Each level has a team, notes and time-sheet and
// cost rows; project 12 has contacts.
const char* const seedSql[] = {
    "INSERT INTO members (Member_name, Member_email, Member_tel) VALUES "
    "('Ann', 'ann@example.com', '111'), ('Bob', 'bob@example.com', '222')",
    "INSERT INTO projects (Zel_Project_id, Zel_project, Zel_completed, Zel_date_from) VALUES "
    "(12, 'Alpha', 0, '2024-01-01'), (14, 'Beta', 1, '2024-02-01')",
    "INSERT INTO major (Major_project_id, Major_id, Major_item, Major_critical, Major_completed) "
    "VALUES (12, 3, 'Design', 0, 0), (12, 4, 'Build', 1, 0), (14, 7, 'Only', 0, 0)",
    "INSERT INTO action (Action_project_id, Action_major_id, Action_id, Action_name, "
    "Action_critical, Action_completed) VALUES (12, 3, 5, 'Sketch', 0, 0), "
    "(12, 3, 6, 'Review', 0, 0), (12, 4, 8, 'Pour', 1, 0), (12, 4, 9, 'Cure', 1, 1), "
    "(14, 7, 10, 'Pack', 0, 0)",
    "INSERT INTO ProjectTeam (ProjectTeam_project_id, ProjectTeam_member) VALUES (12, 'Ann'), "
    "(14, 'Bob')",
    "INSERT INTO MajorTeam (MajorTeam_project_id, MajorTeam_major_id, MajorTeam_member) VALUES "
    "(12, 3, 'Ann'), (12, 4, 'Bob'), (14, 7, 'Bob')",
    "INSERT INTO actionTeam (ActionTeam_project_id, ActionTeam_major_id, ActionTeam_action_id, "
    "ActionTeam_member) VALUES (12, 3, 5, 'Ann'), (12, 3, 5, 'Bob'), (12, 3, 6, 'Ann'), "
    "(12, 4, 8, 'Bob'), (14, 7, 10, 'Ann')",
    "INSERT INTO Projectnotes (Projectnotes_project_id, Projectnotes_note) VALUES (12, 'p'), "
    "(14, 'q')",
    "INSERT INTO Majornotes (Majornotes_project_id, Majornotes_major_id, Majornotes_note) "
    "VALUES (12, 3, 'm3'), (12, 4, 'm4'), (14, 7, 'm7')",
    "INSERT INTO actionnotes (Actionnotes_project_id, Actionnotes_major_id, "
    "Actionnotes_action_id, Actionnotes_note) VALUES (12, 3, 5, 'a5'), (12, 3, 6, 'a6'), "
    "(12, 4, 9, 'a9'), (14, 7, 10, 'a10')",
    "INSERT INTO ProjectContact (ProjectContact_project_id, ProjectContact_name) VALUES "
    "(12, 'Carol'), (12, 'Dave'), (14, 'Erin')",
    "INSERT INTO ProjectTS (ProjectTS_project_id, ProjectTS_major_id, ProjectTS_action_id, "
    "ProjectTS_member, ProjectTS_hours) VALUES (12, 0, 0, 'Ann', 1), (12, 3, 0, 'Ann', 2), "
    "(12, 3, 5, 'Bob', 3), (14, 7, 10, 'Ann', 4)",
    "INSERT INTO ProjectCost (ProjectCost_project_id, ProjectCost_major_id, "
    "ProjectCost_action_id, ProjectCost_Amount) VALUES (12, 0, 0, 10), (12, 3, 5, 20), "
    "(14, 7, 0, 30)",
};

// Row counts that tell what a command removed, in one line.
const char* const countSql[] = {
    "SELECT COUNT(*) FROM projects",     "SELECT COUNT(*) FROM major",
    "SELECT COUNT(*) FROM action",       "SELECT COUNT(*) FROM ProjectTeam",
    "SELECT COUNT(*) FROM MajorTeam",    "SELECT COUNT(*) FROM actionTeam",
    "SELECT COUNT(*) FROM Projectnotes", "SELECT COUNT(*) FROM Majornotes",
    "SELECT COUNT(*) FROM actionnotes",  "SELECT COUNT(*) FROM ProjectContact",
    "SELECT COUNT(*) FROM ProjectTS",    "SELECT COUNT(*) FROM ProjectCost",
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    QString folder;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<TDataModule2> dm;
    QList<Messages::Request> shown;
    QList<QMessageBox::StandardButton> answers;

    // Another connection to the data folder, as another installation would have.
    std::unique_ptr<vok::Store> other;

    QSqlQuery sql(const QString& query) { return other->exec(query); }
    QString value(const QString& query) {
        QSqlQuery q = sql(query);
        return q.next() ? q.value(0).toString() : QStringLiteral("<none>");
    }
    // projects major action teams(p m a) notes(p m a) contacts ts cost
    QString counts() {
        QStringList out;
        for (const char* q : countSql)
            out << value(QLatin1String(q));
        return out.join(QLatin1Char(' '));
    }

    // The node with that identity string, found by walking the tree depth first.
    QTreeWidgetItem* node(const QString& id) {
        const int index = static_cast<int>(form->ProjectList.indexOf(id));
        nodeCount(); // makes the action nodes
        int i = 0;
        for (QTreeWidgetItemIterator it(form->TreeView1); *it; ++it, ++i) {
            if (i == index) {
                if (form->findNode(id) != *it || form->nodeIndex(*it) != index)
                    qWarning("findNode or nodeIndex disagrees with the tree");
                return *it;
            }
        }
        return nullptr;
    }
    // Every node, the actions of collapsed major activities included (their items are made
    // when a major activity is first opened).
    int nodeCount() {
        for (int p = 0; p < form->TreeView1->topLevelItemCount(); ++p) {
            QTreeWidgetItem* project = form->TreeView1->topLevelItem(p);
            for (int m = 0; m < project->childCount(); ++m) {
                const bool open = project->child(m)->isExpanded();
                project->child(m)->setExpanded(true);
                project->child(m)->setExpanded(open);
            }
        }
        int n = 0;
        for (QTreeWidgetItemIterator it(form->TreeView1); *it; ++it)
            ++n;
        return n;
    }
    QTabWidget* visiblePage() {
        for (QTabWidget* p :
             {form->ProjectPageControl, form->MajorPageControl, form->ActionPageControl})
            if (p->isVisible())
                return p;
        return nullptr;
    }
    // Selects a node as the user does and waits until the window acted on it.
    void select(const QString& id) {
        QTreeWidgetItem* item = node(id);
        QVERIFY2(item, qPrintable(id));
        form->TreeView1->setCurrentItem(item);
        QTRY_COMPARE(form->idstrings.join(QLatin1Char(',')), id);
        QTRY_VERIFY(visiblePage());
    }
    void focus(QWidget* w) {
        w->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(w->hasFocus());
    }
    void typeInto(QLineEdit* edit, const QString& text) {
        focus(edit);
        edit->end(false);
        QTest::keyClicks(edit, text);
    }
    QAction* action(const QString& name) { return form->findChild<QAction*>(name); }
    QTabWidget* page(int level) {
        return std::array<QTabWidget*, 3>{form->ProjectPageControl, form->MajorPageControl,
                                          form->ActionPageControl}[level];
    }
    QPushButton* okButton(int level) {
        return std::array<QPushButton*, 3>{form->Button5, form->Button3, form->Button1}[level];
    }
    QPushButton* cancelButton(int level) {
        return std::array<QPushButton*, 3>{form->Button6, form->Button4, form->Button2}[level];
    }
    vok::DBEdit* nameEdit(int level) {
        return std::array<vok::DBEdit*, 3>{form->DBEdit2, form->DBEdit8, form->DBEdit13}[level];
    }
    bool menuEnabled() {
        bool all = true;
        bool none = true;
        for (QAction* a :
             {form->AddaProject1, form->Memberslist1, form->Timesheetentry1->menuAction(),
              form->CostSheets1->menuAction(), form->Reports1->menuAction(),
              form->Changelanguage1->menuAction(), form->Help1->menuAction(), form->Exit1}) {
            all = all && a->isEnabled();
            none = none && !a->isEnabled();
        }
        if (!all && !none)
            qWarning("menu items partly enabled");
        return all;
    }

private Q_SLOTS:
    void init() {
        env = std::make_unique<TestEnvironment>();
        StorageConfiguration::writeEntries(); // as at start: shared locking
        folder = env->emptyFolder();
        {
            vok::Store seed;
            seed.setParams({QStringLiteral("path=") + folder});
            for (const char* q : seedSql)
                seed.exec(QLatin1String(q));
        }
        env->writeSettings(folder, QStringLiteral("0"));
        other = std::make_unique<vok::Store>();
        other->setParams({QStringLiteral("path=") + folder});
        shown.clear();
        answers.clear();
        Messages::setHandler([this](const Messages::Request& r) {
            shown << r;
            return answers.isEmpty() ? QMessageBox::Ok : answers.takeFirst();
        });
        form = std::make_unique<TForm1>();
        dm = std::make_unique<TDataModule2>();
        form->setDataModule(dm.get());
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QVERIFY(dm->Database1->isOpen()); // activation opened the tables
        QCOMPARE(shown.size(), 0);
    }

    void cleanup() {
        other.reset();
        form.reset();
        dm.reset();
        Messages::setHandler({});
        env.reset();
    }

    // ------------------------------------------------------------ the tree

    void nodesMapToTheirKeys_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("level");
        QTest::newRow("project") << "12" << 0 << "Alpha"
                                 << "0" << 0;
        QTest::newRow("its major activity") << "12,3" << 1 << "Design"
                                            << "0" << 1;
        QTest::newRow("its action") << "12,3,5" << 2 << "Sketch"
                                    << "0" << 2;
        QTest::newRow("after a collapsed major activity") << "12,4" << 4 << "Build"
                                                          << "2" << 1;
        QTest::newRow("critical action") << "12,4,8" << 5 << "Pour"
                                         << "2" << 2;
        QTest::newRow("completed beats critical") << "12,4,9" << 6 << "Cure"
                                                  << "1" << 2;
        QTest::newRow("completed project after collapsed nodes") << "14" << 7 << "Beta"
                                                                 << "1" << 0;
        QTest::newRow("last node") << "14,7,10" << 9 << "Pack"
                                   << "0" << 2;
    }
    void nodesMapToTheirKeys() {
        QFETCH(QString, id);
        QFETCH(int, index);
        QFETCH(QString, caption);
        QFETCH(QString, status);
        QFETCH(int, level);
        QCOMPARE(form->ProjectList.size(), nodeCount());
        QCOMPARE(form->CriticalList.size(), nodeCount());
        QCOMPARE(form->ProjectList.value(index), id);
        QCOMPARE(form->CriticalList.value(index), status);
        QTreeWidgetItem* item = node(id);
        QCOMPARE(item->text(0), caption);
        select(id);
        // The tables stand on the node's keys and the level's page shows its record tab.
        const QStringList keys = id.split(QLatin1Char(','));
        QCOMPARE(dm->projects->fieldByName(QStringLiteral("Zel_Project_id")).asString(), keys[0]);
        if (level >= 1)
            QCOMPARE(dm->Major->fieldByName(QStringLiteral("Major_id")).asString(), keys[1]);
        if (level >= 2)
            QCOMPARE(dm->Action->fieldByName(QStringLiteral("Action_id")).asString(), keys[2]);
        QCOMPARE(visiblePage(), page(level));
        QCOMPARE(visiblePage()->currentIndex(), 0);
        QCOMPARE(form->attachedPopup(), (std::array<QMenu*, 3>{form->ProjectPopup, form->MajorPopup,
                                                               form->ActionPopup}[level]));
        QCOMPARE(nameEdit(level)->text(), caption);
    }

    void rebuildOpensProjectsOneLevel() {
        form->TreeView1->expandAll();
        form->LoadTree();
        const QTreeWidget* tree = form->TreeView1;
        QCOMPARE(tree->topLevelItemCount(), 2);
        for (int p = 0; p < tree->topLevelItemCount(); ++p) {
            QVERIFY(tree->topLevelItem(p)->isExpanded());
            for (int m = 0; m < tree->topLevelItem(p)->childCount(); ++m)
                QVERIFY(!tree->topLevelItem(p)->child(m)->isExpanded());
        }
        QVERIFY(!tree->currentItem());
        QVERIFY(!visiblePage());
        // Left on the last project, its last major activity and that one's last action.
        QCOMPARE(dm->projects->fieldByName(QStringLiteral("Zel_project")).asString(),
                 QStringLiteral("Beta"));
        QCOMPARE(dm->Action->fieldByName(QStringLiteral("Action_name")).asString(),
                 QStringLiteral("Pack"));
    }

    void rebuildSeesOtherInstallationsChanges() {
        sql(QStringLiteral(
            "INSERT INTO projects (Zel_Project_id, Zel_project) VALUES (20, 'Elsewhere')"));
        sql(QStringLiteral("UPDATE major SET Major_item = 'Redesign' WHERE Major_id = 3"));
        form->LoadTree();
        QCOMPARE(form->ProjectList.last(), QStringLiteral("20"));
        QCOMPARE(node(QStringLiteral("12,3"))->text(0), QStringLiteral("Redesign"));
    }

    void treeLooks() {
        const QTreeWidget* tree = form->TreeView1;
        QCOMPARE(tree->indentation(), 19);
        QCOMPARE(tree->font().pixelSize(), 13);
        QCOMPARE(tree->font().family(), QStringLiteral("Arial"));
        QCOMPARE(tree->toolTip(),
                 QStringLiteral("Right click on a selected item to add and delete"));
        QCOMPARE(tree->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(node(QStringLiteral("14"))->foreground(0).color(), QColor(0x00, 0x80, 0x00));
        QCOMPARE(node(QStringLiteral("12,4"))->foreground(0).color(), QColor(0xc0, 0x00, 0x00));
        QCOMPARE(form->GroupBox1->title(), QStringLiteral("Current Projects"));
        QCOMPARE(form->GroupBox1->width(), 321);
        QCOMPARE(form->size(), QSize(796, 565));
    }

    void selectionIsActedOnForTheLastNodeOnly() {
        select(QStringLiteral("12"));
        int moves = 0;
        connect(dm->projects, &Table::currentChanged, this, [&] { ++moves; });
        form->TreeView1->setCurrentItem(node(QStringLiteral("12,4")));
        form->TreeView1->setCurrentItem(node(QStringLiteral("14")));
        QCOMPARE(form->idstrings, QStringList{QStringLiteral("12")}); // not yet
        QCOMPARE(moves, 0);
        QTRY_COMPARE(form->idstrings, QStringList{QStringLiteral("14")});
        QTest::qWait(80);
        QCOMPARE(moves, 1);
        QCOMPARE(visiblePage(), form->ProjectPageControl);
    }

    void rightClickKeepsTheSelection() {
        select(QStringLiteral("12,3"));
        const QRect other = form->TreeView1->visualItemRect(node(QStringLiteral("14")));
        QTest::mouseClick(form->TreeView1->viewport(), Qt::RightButton, {}, other.center());
        QTest::qWait(80);
        QCOMPARE(form->TreeView1->currentItem(), node(QStringLiteral("12,3")));
        QCOMPARE(form->idstrings.join(QLatin1Char(',')), QStringLiteral("12,3"));
        QCOMPARE(form->attachedPopup(), form->MajorPopup);
    }

    // ------------------------------------------------------------ tabs

    void tabChangesOpenAndCloseTheViews_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<int>("level");
        QTest::addColumn<QStringList>("tabs");
        QTest::addColumn<bool>("timeSheetsOpen");
        QTest::addColumn<bool>("costsOpen");
        QTest::addColumn<int>("rowsShown");
        const QString ts = QStringLiteral("Time Sheets");
        const QString cost = QStringLiteral("Cost entries");
        const QString notes = QStringLiteral("Notes");
        QTest::newRow("project time sheets: all the project's rows")
            << "12" << 0 << QStringList{ts} << true << false << 3;
        QTest::newRow("project time sheets then notes")
            << "12" << 0 << QStringList{ts, notes} << false << false << 0;
        QTest::newRow("project time sheets then costs")
            << "12" << 0 << QStringList{ts, cost} << false << true << 2;
        QTest::newRow("major activity time sheets")
            << "12,3" << 1 << QStringList{ts} << true << false << 2;
        QTest::newRow("major activity costs")
            << "12,3" << 1 << QStringList{notes, cost} << false << true << 1;
        QTest::newRow("action time sheets")
            << "12,3,5" << 2 << QStringList{ts} << true << false << 1;
        QTest::newRow("action costs then time sheets")
            << "12,3,5" << 2 << QStringList{cost, ts} << true << false << 1;
    }
    void tabChangesOpenAndCloseTheViews() {
        QFETCH(QString, id);
        QFETCH(int, level);
        QFETCH(QStringList, tabs);
        QFETCH(bool, timeSheetsOpen);
        QFETCH(bool, costsOpen);
        QFETCH(int, rowsShown);
        select(id);
        QTabWidget* p = page(level);
        for (const QString& caption : tabs) {
            for (int i = 0; i < p->count(); ++i)
                if (p->tabText(i) == caption)
                    p->setCurrentIndex(i);
        }
        const std::array<Table*, 3> timeSheets{dm->ProjectTS, dm->MajorTS, dm->ActionTS};
        const std::array<Table*, 3> costs{dm->ProjectCost, dm->MajorCost, dm->ActionCost};
        QCOMPARE(timeSheets[level]->isActive(), timeSheetsOpen);
        QCOMPARE(costs[level]->isActive(), costsOpen);
        if (timeSheetsOpen || costsOpen) {
            const std::array<vok::DBCtrlGrid*, 3> tsLists{form->DBCtrlGrid1, form->DBCtrlGrid2,
                                                          form->DBCtrlGrid3};
            const std::array<vok::DBCtrlGrid*, 3> costLists{form->DBCtrlGrid5, form->DBCtrlGrid6,
                                                            form->DBCtrlGrid7};
            QCOMPARE((timeSheetsOpen ? tsLists : costLists)[level]->rowCount(), rowsShown);
        }
        // Selecting another node brings the record tab to the front and leaves the view open.
        select(level == 0   ? QStringLiteral("14")
               : level == 1 ? QStringLiteral("12,4")
                            : QStringLiteral("12,3,6"));
        QCOMPARE(p->currentIndex(), 0);
        QCOMPARE(timeSheets[level]->isActive(), timeSheetsOpen);
    }

    // ------------------------------------------------------------ adding

    void addingPutsTheRecordUnderTheRightParent_data() {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("parent"); // the new node's parent, empty for a project
        QTest::newRow("Add Major on a project node") << "12"
                                                     << "AddMajor1" << 1 << "12";
        QTest::newRow("Add Major on a major node adds a sibling") << "14,7"
                                                                  << "AddMajor2" << 1 << "14";
        QTest::newRow("Add Action on a major node") << "12,4"
                                                    << "AddAction1" << 2 << "12,4";
        QTest::newRow("Add Action on an action node adds a sibling") << "12,3,6"
                                                                     << "AddAction2" << 2 << "12,3";
        QTest::newRow("Add Project from the menu bar") << "12,3"
                                                       << "AddaProject1" << 0 << "";
        QTest::newRow("Add Project from the project menu") << "14"
                                                           << "AddProject1" << 0 << "";
    }
    void addingPutsTheRecordUnderTheRightParent() {
        QFETCH(QString, selected);
        QFETCH(QString, command);
        QFETCH(int, level);
        QFETCH(QString, parent);
        select(selected);
        const int before = nodeCount();
        action(command)->trigger();
        QVERIFY(form->isAdding());
        QVERIFY(!form->TreeView1->isEnabled());
        QVERIFY(!menuEnabled());
        QCOMPARE(visiblePage(), page(level));
        QVERIFY(okButton(level)->isVisible());
        // Nothing can hang on the new record before it is stored.
        QVERIFY(!page(level)->isTabEnabled(1));
        QVERIFY(!page(level)->isTabEnabled(page(level)->count() - 1));
        typeInto(nameEdit(level), QStringLiteral("Newcomer"));
        // Leaving a field while adding stores nothing yet.
        focus(form->TreeView1->isEnabled() ? form->TreeView1
                                           : static_cast<QWidget*>(okButton(level)));
        QCOMPARE(
            value(QStringLiteral("SELECT COUNT(*) FROM projects WHERE Zel_project = 'Newcomer'"))
                    .toInt() +
                value(QStringLiteral("SELECT COUNT(*) FROM major WHERE Major_item = 'Newcomer'"))
                    .toInt() +
                value(QStringLiteral("SELECT COUNT(*) FROM action WHERE Action_name = 'Newcomer'"))
                    .toInt(),
            0);
        QTest::mouseClick(okButton(level), Qt::LeftButton);
        QVERIFY(!form->isAdding());
        QVERIFY(page(level)->isTabEnabled(1));
        QVERIFY(form->TreeView1->isEnabled());
        QVERIFY(menuEnabled());
        QCOMPARE(nodeCount(), before + 1);
        // The tree selects the saved record.
        QTreeWidgetItem* added = form->TreeView1->currentItem();
        QVERIFY(added);
        QCOMPARE(added->text(0), QStringLiteral("Newcomer"));
        const QString id = form->selectedNode();
        QCOMPARE(id.count(QLatin1Char(',')), level);
        QCOMPARE(level == 0 ? QString() : id.section(QLatin1Char(','), 0, level - 1), parent);
        QCOMPARE(visiblePage(), page(level));
        if (level == 0) // a new project is the last one
            QCOMPARE(form->TreeView1->indexOfTopLevelItem(added),
                     form->TreeView1->topLevelItemCount() - 1);
        QCOMPARE(dm->projects->fieldByName(QStringLiteral("Zel_date_from")).asDate().isValid(),
                 true);
    }

    void addThenCancelLeavesNoRecord_data() {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("typed");
        QTest::newRow("project, untouched") << "12"
                                            << "AddProject1" << 0 << false;
        QTest::newRow("project, typed into") << "12"
                                             << "AddProject1" << 0 << true;
        QTest::newRow("major activity, untouched") << "12,3"
                                                   << "AddMajor2" << 1 << false;
        QTest::newRow("major activity, typed into") << "12,3"
                                                    << "AddMajor2" << 1 << true;
        QTest::newRow("action, typed into") << "12,3,5"
                                            << "AddAction2" << 2 << true;
    }
    void addThenCancelLeavesNoRecord() {
        QFETCH(QString, selected);
        QFETCH(QString, command);
        QFETCH(int, level);
        QFETCH(bool, typed);
        select(selected);
        const QString before = counts();
        const QStringList list = form->ProjectList;
        const QString caption = node(selected)->text(0);
        action(command)->trigger();
        if (typed) {
            typeInto(nameEdit(level), QStringLiteral("Dropped"));
            focus(form->findChild<QWidget*>(level == 0   ? QStringLiteral("DBMemo1")
                                            : level == 1 ? QStringLiteral("DBMemo2")
                                                         : QStringLiteral("DBMemo3")));
            // Typing the new record's name renames no node.
            QCOMPARE(form->TreeView1->currentItem()->text(0), caption);
            QCOMPARE(node(selected)->text(0), caption);
        }
        QTest::mouseClick(cancelButton(level), Qt::LeftButton);
        QCOMPARE(counts(), before);
        QCOMPARE(form->ProjectList, list);
        QVERIFY(!form->isAdding());
        QVERIFY(menuEnabled());
        QCOMPARE(form->selectedNode(), selected);
        QCOMPARE(nameEdit(level)->text(),
                 node(selected)->text(0).isEmpty() ? QString() : nameEdit(level)->text());
        QVERIFY(!typed || nameEdit(level)->text() != QStringLiteral("Dropped"));
    }

    void closingTheWindowWhileAddingActsAsExit_data() {
        QTest::addColumn<bool>("typed");
        QTest::newRow("typed into: stored") << true;
        QTest::newRow("untouched: nothing stored") << false;
    }
    void closingTheWindowWhileAddingActsAsExit() {
        QFETCH(bool, typed);
        select(QStringLiteral("12"));
        const QString before = counts();
        action(QStringLiteral("AddMajor1"))->trigger();
        if (typed)
            typeInto(nameEdit(1), QStringLiteral("Closing"));
        form->close(); // the title bar's close box
        QVERIFY(!dm->Database1->isOpen());
        QVERIFY(!dm->projects->isActive());
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM major WHERE Major_item = 'Closing' AND "
                                      "Major_project_id = 12")),
                 typed ? QStringLiteral("1") : QStringLiteral("0"));
        if (!typed)
            QCOMPARE(counts(), before);
        QCOMPARE(shown.size(), 0);
    }

    void okWaitsUntilARefusedDateIsPutRight() {
        select(QStringLiteral("12"));
        action(QStringLiteral("AddMajor1"))->trigger();
        typeInto(form->DBEdit8, QStringLiteral("Fresh"));
        focus(form->DBEdit9);
        form->DBEdit9->selectAll();
        QTest::keyClicks(form->DBEdit9, QStringLiteral("13/13/2024"));
        QTest::mouseClick(form->Button3, Qt::LeftButton);
        QTRY_COMPARE(shown.size(), 1);
        QVERIFY(form->isAdding());
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM major WHERE Major_item = 'Fresh'")),
                 QStringLiteral("0"));
        QTRY_VERIFY(form->DBEdit9->hasFocus());
        form->DBEdit9->selectAll();
        QTest::keyClicks(form->DBEdit9, QStringLiteral("03/13/2024"));
        QTest::mouseClick(form->Button3, Qt::LeftButton);
        QVERIFY(!form->isAdding());
        QCOMPARE(
            value(QStringLiteral("SELECT Major_from_date FROM major WHERE Major_item = 'Fresh'")),
            QStringLiteral("2024-03-13"));
    }

    void okThatCannotStoreKeepsAdding() {
        sql(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON major "
                           "BEGIN SELECT RAISE(ABORT, 'no room for it'); END"));
        select(QStringLiteral("12,3"));
        const QStringList list = form->ProjectList;
        action(QStringLiteral("AddMajor2"))->trigger();
        typeInto(form->DBEdit8, QStringLiteral("Stuck"));
        QTest::mouseClick(form->Button3, Qt::LeftButton);
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].text.contains(QStringLiteral("no room for it")));
        QVERIFY(form->isAdding());
        QCOMPARE(form->ProjectList, list);
        QTest::mouseClick(form->Button4, Qt::LeftButton);
        QVERIFY(!form->isAdding());
        QCOMPARE(dm->Major->state(), Table::State::Browse);
        QCOMPARE(form->selectedNode(), QStringLiteral("12,3"));
        form->selectNode(QStringLiteral("14")); // moving on raises nothing
        QCOMPARE(shown.size(), 1);
    }

    // ------------------------------------------------------------ editing in place

    void editsAreStored_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("how"); // leave the field, or select another node
        QTest::addColumn<QString>("check");
        QTest::addColumn<QString>("stored");
        QTest::newRow("major name, leaving the field")
            << "12,3"
            << "DBEdit8"
            << "Y"
            << "leave"
            << "SELECT Major_item FROM major WHERE Major_id = 3"
            << "DesignY";
        QTest::newRow("major name, selecting another node")
            << "12,3"
            << "DBEdit8"
            << "Y"
            << "select"
            << "SELECT Major_item FROM major WHERE Major_id = 3"
            << "DesignY";
        QTest::newRow("client, selecting another node")
            << "12"
            << "DBEdit5"
            << "Acme"
            << "select"
            << "SELECT Zel_client FROM projects WHERE Zel_Project_id = 12"
            << "Acme";
        QTest::newRow("objectives, leaving the field")
            << "12,3,5"
            << "DBMemo3"
            << "why"
            << "leave"
            << "SELECT Action_description FROM action WHERE Action_id = 5"
            << "why";
        QTest::newRow("percentage, selecting another node")
            << "12,3,5"
            << "DBEdit17"
            << "40"
            << "select"
            << "SELECT Action_perc_complete FROM action WHERE Action_id = 5"
            << "40";
    }
    void editsAreStored() {
        QFETCH(QString, id);
        QFETCH(QString, control);
        QFETCH(QString, typed);
        QFETCH(QString, how);
        QFETCH(QString, check);
        QFETCH(QString, stored);
        select(id);
        auto* w = form->findChild<QWidget*>(control);
        QVERIFY(w);
        focus(w);
        if (auto* e = qobject_cast<QLineEdit*>(w))
            e->end(false);
        QTest::keyClicks(w, typed);
        if (how == QLatin1String("leave")) {
            QTest::keyClick(w, Qt::Key_Tab);
            QCOMPARE(value(check), stored);
        } else {
            form->selectNode(QStringLiteral("14")); // the focus stays where it was
            QCOMPARE(value(check), stored);
        }
    }

    void refusedDateKeepsTheRecordEditable() {
        select(QStringLiteral("12"));
        focus(form->DBEdit3);
        // Another change of the record, not yet stored.
        dm->projects->edit();
        dm->projects->fieldByName(QStringLiteral("Zel_client")).setAsString(QStringLiteral("Acme"));
        form->DBEdit3->selectAll();
        QTest::keyClicks(form->DBEdit3, QStringLiteral("31/31/2024"));
        QTest::keyClick(form->DBEdit3, Qt::Key_Tab);
        QTRY_COMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text,
                 QStringLiteral("'31/31/2024' is not a valid date; type it as MM/dd/yyyy."));
        QTRY_VERIFY(form->DBEdit3->hasFocus());
        // Leaving the next field on the way back stored nothing either.
        QCOMPARE(dm->projects->state(), Table::State::Edit);
        QCOMPARE(dm->projects->fieldByName(QStringLiteral("Zel_client")).asString(),
                 QStringLiteral("Acme"));
        QCOMPARE(value(QStringLiteral(
                     "SELECT COALESCE(Zel_client, '') FROM projects WHERE Zel_Project_id = 12")),
                 QString());
        form->DBEdit3->selectAll();
        QTest::keyClicks(form->DBEdit3, QStringLiteral("03/31/2024"));
        QTest::keyClick(form->DBEdit3, Qt::Key_Tab);
        QCOMPARE(value(QStringLiteral("SELECT Zel_client || ' ' || Zel_date_from FROM projects "
                                      "WHERE Zel_Project_id = 12")),
                 QStringLiteral("Acme 2024-03-31"));
    }

    void renamingWhileTypingChangesTheNodeTextOnly() {
        select(QStringLiteral("12,3"));
        const QStringList list = form->ProjectList;
        QTreeWidgetItem* item = node(QStringLiteral("12,3"));
        typeInto(form->DBEdit8, QStringLiteral("er"));
        QCOMPARE(item->text(0), QStringLiteral("Designer"));
        QCOMPARE(form->ProjectList, list);
        QCOMPARE(item->parent(), node(QStringLiteral("12")));
        QCOMPARE(form->TreeView1->currentItem(), item);
        // Moving to another record changes the edit, not the nodes.
        form->selectNode(QStringLiteral("12,4"));
        QCOMPARE(item->text(0), QStringLiteral("Designer"));
        QCOMPARE(node(QStringLiteral("12,4"))->text(0), QStringLiteral("Build"));
    }

    // ------------------------------------------------------------ deleting

    void deleteRemovesWhatHangsOffTheNode_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("after");
        // projects major action teams(p m a) notes(p m a) contacts ts cost
        QTest::newRow("action: its team and notes; time sheets and costs stay")
            << "12,3,5"
            << "DeleteAction1"
            << "Are you certain that you want to delete this Action?"
            << "2 3 4 2 3 3 2 3 3 3 4 3";
        QTest::newRow("major activity: its actions with theirs, its team and notes")
            << "12,3"
            << "DeleteMajor1"
            << "Are you certain that you want to delete this major activity?"
            << "2 2 3 2 2 2 2 2 2 3 4 3";
        QTest::newRow("project: everything, time sheets and costs included")
            << "12"
            << "Deleteproject1"
            << "Are you certain that you want to delete this project?"
            << "1 1 1 1 1 1 1 1 1 1 1 1";
    }
    void deleteRemovesWhatHangsOffTheNode() {
        QFETCH(QString, id);
        QFETCH(QString, command);
        QFETCH(QString, question);
        QFETCH(QString, after);
        QCOMPARE(counts(), QStringLiteral("2 3 5 2 3 5 2 3 4 3 4 3"));
        select(id);
        answers << QMessageBox::Yes;
        action(command)->trigger();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, question);
        QCOMPARE(shown[0].buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(counts(), after);
        QVERIFY(!form->ProjectList.contains(id));
        QCOMPARE(form->ProjectList.size(), nodeCount());
        QVERIFY(!visiblePage());
        QVERIFY(menuEnabled());
        QVERIFY(form->TreeView1->isEnabled());
        // Project 14 and its rows are untouched.
        QCOMPARE(value(QStringLiteral(
                     "SELECT COUNT(*) FROM actionTeam WHERE ActionTeam_project_id = 14")),
                 QStringLiteral("1"));
        QCOMPARE(
            value(QStringLiteral("SELECT COUNT(*) FROM ProjectTS WHERE ProjectTS_project_id = 14")),
            QStringLiteral("1"));
    }

    void declinedDeleteChangesNothing_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("command");
        QTest::newRow("project") << "12"
                                 << "Deleteproject1";
        QTest::newRow("major activity") << "12,4"
                                        << "DeleteMajor1";
        QTest::newRow("action") << "12,3,6"
                                << "DeleteAction1";
    }
    void declinedDeleteChangesNothing() {
        QFETCH(QString, id);
        QFETCH(QString, command);
        select(id);
        QTabWidget* before = visiblePage();
        before->setCurrentIndex(2);
        const QString rows = counts();
        const QStringList list = form->ProjectList;
        answers << QMessageBox::No;
        action(command)->trigger();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(counts(), rows);
        QCOMPARE(form->ProjectList, list);
        QCOMPARE(form->selectedNode(), id);
        QCOMPARE(visiblePage(), before);
        QCOMPARE(before->currentIndex(), 2);
        QVERIFY(menuEnabled());
    }

    void failedDeleteLeavesEverythingAsItWas() {
        sql(QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON projects "
                           "BEGIN SELECT RAISE(ABORT, 'the project is locked'); END"));
        select(QStringLiteral("12"));
        const QString rows = counts();
        const QStringList list = form->ProjectList;
        answers << QMessageBox::Yes;
        action(QStringLiteral("Deleteproject1"))->trigger();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[1].icon, Messages::Icon::Error);
        QVERIFY(shown[1].text.contains(QStringLiteral("the project is locked")));
        QCOMPARE(counts(), rows);
        QCOMPARE(form->ProjectList, list);
        QVERIFY(menuEnabled());
        QVERIFY(form->TreeView1->isEnabled());
        // The record-sets show the rows again.
        form->selectNode(QStringLiteral("12,3"));
        QCOMPARE(dm->Action->recordCount(), 2);
        QCOMPARE(dm->MajorTeam->recordCount(), 1);
    }

    // ------------------------------------------------------------ teams, start and end

    void teamGridsOfferTheMembers() {
        for (int grid : {3, 2, 1})
            QCOMPARE(form->memberPickList(grid),
                     (QStringList{QStringLiteral("Ann"), QStringLiteral("Bob")}));
        form->FormActivate(); // a later activation adds nothing
        QCOMPARE(form->memberPickList(3).size(), 2);
        QCOMPARE(form->SDLabel1->text(), QStringLiteral("MM/dd/yyyy"));
        QCOMPARE(form->DBGrid1->columnTitle(1), QStringLiteral("email"));
        QCOMPARE(form->DBGrid3->columnTitle(1), QStringLiteral("Email"));
        // Declared 200, 176 and 117 wide; shown in proportion within the page, every title seen.
        QCOMPARE(form->DBGrid3->tableModel()->column(0).width, 200);
        select(QStringLiteral("12"));
        form->ProjectPageControl->setCurrentWidget(form->TabSheet2);
        vok::DBGrid* grid = form->DBGrid3;
        const int shown = grid->columnWidth(0) + grid->columnWidth(1) + grid->columnWidth(2);
        QVERIFY(shown <= grid->viewport()->width());
        QVERIFY(qAbs(grid->columnWidth(0) * 176 - grid->columnWidth(1) * 200) < 400);
    }

    void teamMemberPickedFromTheListBringsAddressAndTelephone() {
        select(QStringLiteral("12,3,6"));
        form->ActionPageControl->setCurrentWidget(form->TabSheet14);
        vok::DBGrid* grid = form->DBGrid1;
        focus(grid);
        grid->setCurrentIndex(grid->model()->index(0, 0));
        QTest::keyClick(grid, Qt::Key_Down); // a new row past the last
        QCOMPARE(dm->ActionTeam->state(), Table::State::Insert);
        QTest::keyClick(grid, Qt::Key_F2);
        auto* box = qobject_cast<QComboBox*>(QApplication::focusWidget());
        if (!box)
            box = qobject_cast<QComboBox*>(QApplication::focusWidget()->parentWidget());
        QVERIFY(box);
        box->setCurrentIndex(1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(grid->model()->index(1, 1).data().toString(), QStringLiteral("bob@example.com"));
        focus(form->TreeView1); // leaving the grid stores the row
        QCOMPARE(value(QStringLiteral(
                     "SELECT ActionTeam_tel FROM actionTeam WHERE ActionTeam_action_id = 6 "
                     "AND ActionTeam_member = 'Bob'")),
                 QStringLiteral("222"));
    }

    void exitStoresWhatIsPendingAndClosesEverything() {
        select(QStringLiteral("12"));
        typeInto(form->DBEdit2, QStringLiteral("!")); // still in the field
        dm->ProjectNotes->edit();
        dm->ProjectNotes->fieldByName(QStringLiteral("Projectnotes_note"))
            .setAsString(QStringLiteral("kept"));
        form->ProjectPageControl->setCurrentWidget(form->TabSheet9);
        QVERIFY(dm->ProjectTS->isActive());
        form->Exit1->trigger();
        QVERIFY(!dm->Database1->isOpen());
        for (Table* t : dm->tables())
            QVERIFY2(!t->isActive(), qPrintable(t->objectName()));
        QVERIFY(!form->isVisible());
        QCOMPARE(
            value(QStringLiteral("SELECT Zel_project FROM projects WHERE Zel_Project_id = 12")),
            QStringLiteral("Alpha!"));
        QCOMPARE(value(QStringLiteral(
                     "SELECT COUNT(*) FROM Projectnotes WHERE Projectnotes_note = 'kept'")),
                 QStringLiteral("1"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_tform1.moc"

// The main window on a real data folder, driven offscreen; confirmations answered through the
// message service.
#include "app/exe/appwindows.h"
#include "data/projectdata.h"
#include "framework/dataset/table.h"
#include "framework/widgets/datalink.h"
#include "framework/widgets/dbctrlgrid.h"
#include "framework/widgets/dbdateedit.h"
#include "framework/widgets/dbedit.h"
#include "framework/widgets/dbgrid.h"
#include "framework/widgets/dbmemo.h"
#include "framework/widgets/tablemodel.h"
#include "mainwindowfixture.h"
#include "support/testenvironment.h"
#include "ui/main/contactwindow.h"
#include "ui/main/detailpage.h"
#include "ui/main/editmenu.h"
#include "ui/main/mainwindow.h"
#include "ui/main/memberlistwindow.h"
#include "ui/main/recordtab.h"
#include "ui/main/startupsequence.h"
#include "ui/main/summarydocument.h"
#include "ui/main/treecontroller.h"
#include "ui/main/treefind.h"

#include <QComboBox>
#include <QMenuBar>
#include <QProcess>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolButton>
#include <QXmlStreamReader>
#include <QtTest>

using vok::Messages;
using vok::Table;

namespace {

// The paragraphs of an OpenDocument text file as stored, read with unzip.
QStringList odtParagraphs(const QString& file) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"),
                {QStringLiteral("-p"), file, QStringLiteral("content.xml")});
    if (!unzip.waitForFinished() || unzip.exitCode() != 0)
        return {QStringLiteral("<unzip failed>")};
    QXmlStreamReader xml(unzip.readAllStandardOutput());
    QStringList out;
    int depth = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("p")) {
            out << QString();
            ++depth;
        } else if (xml.isEndElement() && xml.name() == QLatin1String("p")) {
            --depth;
        } else if (depth > 0 && xml.isStartElement() && xml.name() == QLatin1String("s")) {
            const int c = xml.attributes().value(QLatin1String("c")).toInt();
            out.last() += QString(std::max(c, 1), QLatin1Char(' '));
        } else if (depth > 0 && xml.isCharacters()) {
            out.last() += xml.text();
        }
    }
    return out;
}

} // namespace

class TestMainWindow : public MainWindowFixture {
    Q_OBJECT

    // The stored contacts of a project, in their order.
    QStringList contactNames(const QString& project) {
        QStringList names;
        QSqlQuery q = sql(QStringLiteral("SELECT ProjectContact_name FROM ProjectContact WHERE "
                                         "ProjectContact_project_id = %1 ORDER BY Projectnotes_id")
                              .arg(project));
        while (q.next())
            names << q.value(0).toString();
        return names;
    }

private Q_SLOTS:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

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
        QCOMPARE(form->tree->projectList().size(), nodeCount());
        QCOMPARE(form->tree->criticalList().size(), nodeCount());
        QCOMPARE(form->tree->projectList().value(index), id);
        QCOMPARE(form->tree->criticalList().value(index), status);
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
        QCOMPARE(
            form->tree->attachedPopup(),
            (std::array<QMenu*, 3>{form->projectMenu, form->majorMenu, form->actionMenu}[level]));
        QCOMPARE(nameEdit(level)->text(), caption);
    }

    void rebuildOpensProjectsOneLevel() {
        form->tree->view()->expandAll();
        form->tree->loadTree();
        const QTreeWidget* tree = form->tree->view();
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

    // A project's nodes are made when it comes into view (then it opens one level), or when a
    // node of it is looked for; the rest of a large folder costs nothing until then.
    void nodesAreMadeAsTheyComeIntoView() {
        for (int p = 100; p < 400; ++p)
            sql(QStringLiteral("INSERT INTO projects (Zel_Project_id, Zel_project) VALUES (%1, "
                               "'P%1')")
                    .arg(p));
        sql(QStringLiteral("INSERT INTO major (Major_project_id, Major_id, Major_item, "
                           "Major_critical) VALUES (399, 900, 'Far', 1)"));
        sql(QStringLiteral("INSERT INTO action (Action_project_id, Action_major_id, Action_id, "
                           "Action_name) VALUES (399, 900, 901, 'Farther')"));
        form->tree->loadTree();
        QTreeWidget* tree = form->tree->view();
        QTreeWidgetItem* last = tree->topLevelItem(tree->topLevelItemCount() - 1);
        QCOMPARE(last->text(0), QStringLiteral("P399"));
        QCOMPARE(last->childCount(), 0);
        QVERIFY(!last->isExpanded());
        QVERIFY(tree->topLevelItem(0)->isExpanded());
        tree->scrollToItem(last);
        QCOMPARE(last->childCount(), 1);
        QVERIFY(last->isExpanded());
        QCOMPARE(last->child(0)->foreground(0).color(), QColor(0xc0, 0x00, 0x00));

        // Looked for from the top: the far project's nodes are made because they are asked for.
        tree->scrollToTop();
        form->tree->loadTree();
        QCOMPARE(tree->topLevelItem(tree->topLevelItemCount() - 1)->childCount(), 0);
        QVERIFY(form->tree->selectNode(QStringLiteral("399,900,901")));
        QCOMPARE(tree->currentItem()->text(0), QStringLiteral("Farther"));
        QCOMPARE(dm->Action->fieldByName(QStringLiteral("Action_name")).asString(),
                 QStringLiteral("Farther"));
        QCOMPARE(form->tree->criticalList().value(
                     form->tree->projectList().indexOf(QStringLiteral("399,900"))),
                 QStringLiteral("2"));
    }

    void rebuildSeesOtherInstallationsChanges() {
        sql(QStringLiteral(
            "INSERT INTO projects (Zel_Project_id, Zel_project) VALUES (20, 'Elsewhere')"));
        sql(QStringLiteral("UPDATE major SET Major_item = 'Redesign' WHERE Major_id = 3"));
        form->tree->loadTree();
        QCOMPARE(form->tree->projectList().last(), QStringLiteral("20"));
        QCOMPARE(node(QStringLiteral("12,3"))->text(0), QStringLiteral("Redesign"));
    }

    void anotherInstallationsChangesAreReadWhereTheyShow() {
        for (int p = 100; p < 400; ++p)
            sql(QStringLiteral("INSERT INTO projects (Zel_Project_id, Zel_project) VALUES (%1, "
                               "'P%1')")
                    .arg(p));
        sql(QStringLiteral("INSERT INTO major (Major_project_id, Major_id, Major_item) VALUES "
                           "(399, 900, 'Far')"));
        form->tree->loadTree();
        QTreeWidget* tree = form->tree->view();
        const auto project = [tree](const QString& name) -> QTreeWidgetItem* {
            const QList<QTreeWidgetItem*> found = tree->findItems(name, Qt::MatchExactly);
            return found.isEmpty() ? nullptr : found.first();
        };
        // P399's children made when it showed; then the view goes back to the middle.
        tree->scrollToItem(project(QStringLiteral("P399")));
        QCOMPARE(project(QStringLiteral("P399"))->child(0)->text(0), QStringLiteral("Far"));
        tree->scrollToItem(project(QStringLiteral("P200")), QAbstractItemView::PositionAtTop);
        tree->setCurrentItem(project(QStringLiteral("P201")));
        QTRY_VERIFY(visiblePage());
        const int scrolled = tree->verticalScrollBar()->value();
        QTreeWidgetItem* const top = tree->itemAt(0, 0);
        const quint64 before = dm->store->statementsRun();

        other->exec(QStringLiteral("UPDATE projects SET Zel_project = 'Renamed' WHERE "
                                   "Zel_Project_id = 202"));
        other->exec(QStringLiteral("UPDATE major SET Major_item = 'Farther' WHERE Major_id = 900"));
        other->exec(QStringLiteral("DELETE FROM projects WHERE Zel_Project_id = 150"));
        other->exec(QStringLiteral("INSERT INTO projects (Zel_Project_id, Zel_project) VALUES "
                                   "(400, 'Newest')"));
        QTRY_VERIFY_WITH_TIMEOUT(project(QStringLiteral("Renamed")), 3000);
        QTRY_VERIFY(!form->statusBar()->currentMessage().isEmpty());
        QVERIFY(project(QStringLiteral("Newest")));
        QVERIFY(!project(QStringLiteral("P150")));
        // The view is where it was, on the same nodes; the page on its node.
        QCOMPARE(tree->itemAt(0, 0), top);
        QCOMPARE(tree->verticalScrollBar()->value(), scrolled - 1); // a row above it went
        QCOMPARE(tree->currentItem(), project(QStringLiteral("P201")));
        QCOMPARE(form->projectPage->record->name->text(), QStringLiteral("P201"));
        // What is out of view is not read: P399 shows its children as read, until it shows.
        QCOMPARE(project(QStringLiteral("P399"))->child(0)->text(0), QStringLiteral("Far"));
        // The projects once, and the children of each open project in view.
        int open = 0;
        for (QTreeWidgetItem* item = tree->itemAt(0, 0); item; item = tree->itemBelow(item)) {
            if (tree->visualItemRect(item).top() >= tree->viewport()->height())
                break;
            open += !item->parent() && item->isExpanded() ? 1 : 0;
        }
        qInfo("cost %llu open %d", dm->store->statementsRun() - before, open);
        QVERIFY(dm->store->statementsRun() - before <= static_cast<quint64>(1 + 2 * open + 1));
        tree->scrollToItem(project(QStringLiteral("P399")));
        QCOMPARE(project(QStringLiteral("P399"))->child(0)->text(0), QStringLiteral("Farther"));
    }

    void treeLooks() {
        const QTreeWidget* tree = form->tree->view();
        QCOMPARE(tree->indentation(), 19);
        QCOMPARE(tree->font().pixelSize(), 13);
        QCOMPARE(tree->font().family(), QStringLiteral("Arial"));
        QCOMPARE(tree->toolTip(),
                 QStringLiteral("Right click on a selected item to add and delete"));
        QCOMPARE(tree->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(node(QStringLiteral("14"))->foreground(0).color(), QColor(0x00, 0x80, 0x00));
        QCOMPARE(node(QStringLiteral("12,4"))->foreground(0).color(), QColor(0xc0, 0x00, 0x00));
        QCOMPARE(form->treeBox->title(), QStringLiteral("Current Projects"));
        QCOMPARE(form->treeBox->width(), 321);
        QCOMPARE(form->size(), QSize(796, 565));
    }

    void selectionIsActedOnForTheLastNodeOnly() {
        select(QStringLiteral("12"));
        QStringList moves; // the records the project cursor went to
        // Disconnected when the test ends: the list lives on its stack.
        QObject counter;
        connect(dm->projects, &Table::currentChanged, &counter, [&] {
            const QString id =
                dm->projects->fieldByName(QStringLiteral("Zel_Project_id")).asString();
            if (moves.value(moves.size() - 1) != id)
                moves << id;
        });
        form->tree->view()->setCurrentItem(node(QStringLiteral("12,4")));
        form->tree->view()->setCurrentItem(node(QStringLiteral("14")));
        QCOMPARE(form->tree->idstrings, QStringList{QStringLiteral("12")}); // not yet
        QCOMPARE(moves, QStringList());
        QTRY_COMPARE(form->tree->idstrings, QStringList{QStringLiteral("14")});
        QTest::qWait(80);
        QCOMPARE(moves, QStringList{QStringLiteral("14")});
        QCOMPARE(visiblePage(), form->projectPage);
    }

    void rightClickKeepsTheSelection() {
        select(QStringLiteral("12,3"));
        const QRect other = form->tree->view()->visualItemRect(node(QStringLiteral("14")));
        QTest::mouseClick(form->tree->view()->viewport(), Qt::RightButton, {}, other.center());
        QTest::qWait(80);
        QCOMPARE(form->tree->view()->currentItem(), node(QStringLiteral("12,3")));
        QCOMPARE(form->tree->idstrings.join(QLatin1Char(',')), QStringLiteral("12,3"));
        QCOMPARE(form->tree->attachedPopup(), form->majorMenu);
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
            const std::array<vok::DBCtrlGrid*, 3> tsLists{form->projectPage->timeSheets,
                                                          form->majorPage->timeSheets,
                                                          form->actionPage->timeSheets};
            const std::array<vok::DBCtrlGrid*, 3> costLists{
                form->projectPage->costs, form->majorPage->costs, form->actionPage->costs};
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
        QVERIFY(form->tree->isAdding());
        QVERIFY(!form->tree->view()->isEnabled());
        QVERIFY(!menuEnabled());
        QCOMPARE(visiblePage(), page(level));
        QVERIFY(okButton(level)->isVisible());
        // Nothing can hang on the new record before it is stored.
        QVERIFY(!page(level)->isTabEnabled(1));
        QVERIFY(!page(level)->isTabEnabled(page(level)->count() - 1));
        typeInto(nameEdit(level), QStringLiteral("Newcomer"));
        // Leaving a field while adding stores nothing yet.
        focus(form->tree->view()->isEnabled() ? form->tree->view()
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
        QVERIFY(!form->tree->isAdding());
        QVERIFY(page(level)->isTabEnabled(1));
        QVERIFY(form->tree->view()->isEnabled());
        QVERIFY(menuEnabled());
        QCOMPARE(nodeCount(), before + 1);
        // The tree selects the saved record.
        QTreeWidgetItem* added = form->tree->view()->currentItem();
        QVERIFY(added);
        QCOMPARE(added->text(0), QStringLiteral("Newcomer"));
        const QString id = form->tree->selectedNode();
        QCOMPARE(id.count(QLatin1Char(',')), level);
        QCOMPARE(level == 0 ? QString() : id.section(QLatin1Char(','), 0, level - 1), parent);
        QCOMPARE(visiblePage(), page(level));
        if (level == 0) // a new project is the last one
            QCOMPARE(form->tree->view()->indexOfTopLevelItem(added),
                     form->tree->view()->topLevelItemCount() - 1);
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
        const QStringList list = form->tree->projectList();
        const QString caption = node(selected)->text(0);
        action(command)->trigger();
        if (typed) {
            typeInto(nameEdit(level), QStringLiteral("Dropped"));
            focus(form->findChild<QWidget*>(level == 0   ? QStringLiteral("DBMemo1")
                                            : level == 1 ? QStringLiteral("DBMemo2")
                                                         : QStringLiteral("DBMemo3")));
            // Typing the new record's name renames no node.
            QCOMPARE(form->tree->view()->currentItem()->text(0), caption);
            QCOMPARE(node(selected)->text(0), caption);
        }
        QTest::mouseClick(cancelButton(level), Qt::LeftButton);
        QCOMPARE(counts(), before);
        QCOMPARE(form->tree->projectList(), list);
        QVERIFY(!form->tree->isAdding());
        QVERIFY(menuEnabled());
        QCOMPARE(form->tree->selectedNode(), selected);
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
        QVERIFY(!dm->store->isOpen());
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
        typeInto(form->majorPage->record->name, QStringLiteral("Fresh"));
        focus(form->majorPage->record->from);
        form->majorPage->record->from->selectAll();
        QTest::keyClicks(form->majorPage->record->from, QStringLiteral("13/13/2024"));
        QTest::mouseClick(form->majorPage->record->ok, Qt::LeftButton);
        QTRY_COMPARE(shown.size(), 1);
        QVERIFY(form->tree->isAdding());
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM major WHERE Major_item = 'Fresh'")),
                 QStringLiteral("0"));
        QTRY_VERIFY(form->majorPage->record->from->hasFocus());
        form->majorPage->record->from->selectAll();
        QTest::keyClicks(form->majorPage->record->from, QStringLiteral("03/13/2024"));
        QTest::mouseClick(form->majorPage->record->ok, Qt::LeftButton);
        QVERIFY(!form->tree->isAdding());
        QCOMPARE(
            value(QStringLiteral("SELECT Major_from_date FROM major WHERE Major_item = 'Fresh'")),
            QStringLiteral("2024-03-13"));
    }

    void okThatCannotStoreKeepsAdding() {
        sql(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON major "
                           "BEGIN SELECT RAISE(ABORT, 'no room for it'); END"));
        select(QStringLiteral("12,3"));
        const QStringList list = form->tree->projectList();
        action(QStringLiteral("AddMajor2"))->trigger();
        typeInto(form->majorPage->record->name, QStringLiteral("Stuck"));
        QTest::mouseClick(form->majorPage->record->ok, Qt::LeftButton);
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].text.contains(QStringLiteral("no room for it")));
        QVERIFY(form->tree->isAdding());
        QCOMPARE(form->tree->projectList(), list);
        QTest::mouseClick(form->majorPage->record->cancel, Qt::LeftButton);
        QVERIFY(!form->tree->isAdding());
        QCOMPARE(dm->Major->state(), Table::State::Browse);
        QCOMPARE(form->tree->selectedNode(), QStringLiteral("12,3"));
        form->tree->selectNode(QStringLiteral("14")); // moving on raises nothing
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
            form->tree->selectNode(QStringLiteral("14")); // the focus stays where it was
            QCOMPARE(value(check), stored);
        }
    }

    void refusedDateKeepsTheRecordEditable() {
        select(QStringLiteral("12"));
        focus(form->projectPage->record->from);
        // Another change of the record, not yet stored.
        dm->projects->edit();
        dm->projects->fieldByName(QStringLiteral("Zel_client")).setAsString(QStringLiteral("Acme"));
        form->projectPage->record->from->selectAll();
        QTest::keyClicks(form->projectPage->record->from, QStringLiteral("31/31/2024"));
        QTest::keyClick(form->projectPage->record->from, Qt::Key_Tab);
        QTRY_COMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text,
                 QStringLiteral("'31/31/2024' is not a valid date; type it as MM/dd/yyyy."));
        QTRY_VERIFY(form->projectPage->record->from->hasFocus());
        // Leaving the next field on the way back stored nothing either.
        QCOMPARE(dm->projects->state(), Table::State::Edit);
        QCOMPARE(dm->projects->fieldByName(QStringLiteral("Zel_client")).asString(),
                 QStringLiteral("Acme"));
        QCOMPARE(value(QStringLiteral(
                     "SELECT COALESCE(Zel_client, '') FROM projects WHERE Zel_Project_id = 12")),
                 QString());
        form->projectPage->record->from->selectAll();
        QTest::keyClicks(form->projectPage->record->from, QStringLiteral("03/31/2024"));
        QTest::keyClick(form->projectPage->record->from, Qt::Key_Tab);
        QCOMPARE(value(QStringLiteral("SELECT Zel_client || ' ' || Zel_date_from FROM projects "
                                      "WHERE Zel_Project_id = 12")),
                 QStringLiteral("Acme 2024-03-31"));
    }

    void renamingWhileTypingChangesTheNodeTextOnly() {
        select(QStringLiteral("12,3"));
        const QStringList list = form->tree->projectList();
        QTreeWidgetItem* item = node(QStringLiteral("12,3"));
        typeInto(form->majorPage->record->name, QStringLiteral("er"));
        QCOMPARE(item->text(0), QStringLiteral("Designer"));
        QCOMPARE(form->tree->projectList(), list);
        QCOMPARE(item->parent(), node(QStringLiteral("12")));
        QCOMPARE(form->tree->view()->currentItem(), item);
        // Moving to another record changes the edit, not the nodes.
        form->tree->selectNode(QStringLiteral("12,4"));
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
        QVERIFY(!form->tree->projectList().contains(id));
        QCOMPARE(form->tree->projectList().size(), nodeCount());
        // The parent shows, a deleted project's place stays empty.
        const QString parent = id.section(QLatin1Char(','), 0, -2);
        QCOMPARE(form->tree->selectedNode(), parent);
        QCOMPARE(visiblePage() != nullptr, !parent.isEmpty());
        QVERIFY(menuEnabled());
        QVERIFY(form->tree->view()->isEnabled());
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
        const QStringList list = form->tree->projectList();
        answers << QMessageBox::No;
        action(command)->trigger();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(counts(), rows);
        QCOMPARE(form->tree->projectList(), list);
        QCOMPARE(form->tree->selectedNode(), id);
        QCOMPARE(visiblePage(), before);
        QCOMPARE(before->currentIndex(), 2);
        QVERIFY(menuEnabled());
    }

    void failedDeleteLeavesEverythingAsItWas() {
        sql(QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON projects "
                           "BEGIN SELECT RAISE(ABORT, 'the project is locked'); END"));
        select(QStringLiteral("12"));
        const QString rows = counts();
        const QStringList list = form->tree->projectList();
        answers << QMessageBox::Yes;
        action(QStringLiteral("Deleteproject1"))->trigger();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[1].icon, Messages::Icon::Error);
        QVERIFY(shown[1].text.contains(QStringLiteral("the project is locked")));
        QCOMPARE(counts(), rows);
        QCOMPARE(form->tree->projectList(), list);
        QVERIFY(menuEnabled());
        QVERIFY(form->tree->view()->isEnabled());
        // The record-sets show the rows again.
        form->tree->selectNode(QStringLiteral("12,3"));
        QCOMPARE(dm->Action->recordCount(), 2);
        QCOMPARE(dm->MajorTeam->recordCount(), 1);
    }

    // ------------------------------------------------------------ teams, start and end

    void teamGridsOfferTheMembers() {
        for (const DetailPage* page : form->pages())
            QCOMPARE(page->memberPickList(),
                     (QStringList{QStringLiteral("Ann"), QStringLiteral("Bob")}));
        form->startup->run(); // a later activation adds nothing
        QCOMPARE(form->projectPage->memberPickList().size(), 2);
        QCOMPARE(form->majorPage->record->fromHint->text(), QStringLiteral("MM/dd/yyyy"));
        QCOMPARE(form->actionPage->team->columnTitle(1), QStringLiteral("email"));
        QCOMPARE(form->projectPage->team->columnTitle(1), QStringLiteral("Email"));
        // Declared 200, 176 and 117 wide; shown in proportion within the page, every title seen.
        QCOMPARE(form->projectPage->team->tableModel()->column(0).width, 200);
        select(QStringLiteral("12"));
        form->projectPage->setCurrentWidget(form->projectPage->teamTab);
        vok::DBGrid* grid = form->projectPage->team;
        const int shown = grid->columnWidth(0) + grid->columnWidth(1) + grid->columnWidth(2);
        QVERIFY(shown <= grid->viewport()->width());
        QVERIFY(qAbs(grid->columnWidth(0) * 176 - grid->columnWidth(1) * 200) < 400);
    }

    void teamMemberPickedFromTheListBringsAddressAndTelephone() {
        select(QStringLiteral("12,3,6"));
        form->actionPage->setCurrentWidget(form->actionPage->teamTab);
        vok::DBGrid* grid = form->actionPage->team;
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
        focus(form->tree->view()); // leaving the grid stores the row
        QCOMPARE(value(QStringLiteral(
                     "SELECT ActionTeam_tel FROM actionTeam WHERE ActionTeam_action_id = 6 "
                     "AND ActionTeam_member = 'Bob'")),
                 QStringLiteral("222"));
    }

    void exitStoresWhatIsPendingAndClosesEverything() {
        select(QStringLiteral("12"));
        typeInto(form->projectPage->record->name, QStringLiteral("!")); // still in the field
        dm->ProjectNotes->edit();
        dm->ProjectNotes->fieldByName(QStringLiteral("Projectnotes_note"))
            .setAsString(QStringLiteral("kept"));
        form->projectPage->setCurrentWidget(form->projectPage->timeSheetTab);
        QVERIFY(dm->ProjectTS->isActive());
        form->exitAction->trigger();
        QVERIFY(!dm->store->isOpen());
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

    // ------------------------------------------------------------ copying a project

    void copyProjectAddsTheCopyAndShowsIt() {
        select(QStringLiteral("12"));
        const int projects = value(QStringLiteral("SELECT COUNT(*) FROM projects")).toInt();
        action(QStringLiteral("Copyproject1"))->trigger();
        QCOMPARE(shown.size(), 0);
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM projects")).toInt(), projects + 1);
        // The rebuilt tree holds the copy as its last project, selected, with its page.
        QTreeWidget* tree = form->tree->view();
        QTreeWidgetItem* copy = tree->topLevelItem(tree->topLevelItemCount() - 1);
        QCOMPARE(copy->text(0), QStringLiteral("Copy of Alpha"));
        QCOMPARE(copy->childCount(), 2);
        QCOMPARE(tree->currentItem(), copy);
        QCOMPARE(visiblePage(), form->projectPage);
        QCOMPARE(form->projectPage->record->name->text(), QStringLiteral("Copy of Alpha"));
        // Its contacts show, and one can be added to it.
        form->projectPage->setCurrentWidget(form->projectPage->contactsTab);
        QCOMPARE(form->projectPage->contacts->rowCount(), 2);
        onModal = [this](QDialog* d) {
            auto* f = static_cast<ContactWindow*>(d);
            f->edits[0]->setText(QStringLiteral("Gil"));
            f->okButton->click();
            return d->result();
        };
        action(QStringLiteral("Addcontact1"))->trigger();
        QCOMPARE(form->projectPage->contacts->rowCount(), 3);
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM ProjectContact WHERE "
                                      "ProjectContact_project_id = 12")),
                 QStringLiteral("2"));
    }

    void copyProjectWaitsForASelectedProject() {
        form->tree->loadTree(); // nothing selected
        form->projectMenu->popup(QPoint(0, 0));
        QVERIFY(!form->copyProjectAction->isEnabled());
        QVERIFY(!form->deleteProjectAction->isEnabled());
        QVERIFY(form->newProjectAction->isEnabled());
        form->projectMenu->hide();
        select(QStringLiteral("14"));
        form->projectMenu->popup(QPoint(0, 0));
        QVERIFY(form->copyProjectAction->isEnabled());
        form->projectMenu->hide();
    }

    // ------------------------------------------------------------ members and contacts

    void memberListRefreshesThePickListsOnce() {
        dm->Members->last();
        bool shownOnFirst = false;
        onModal = [&](QDialog* d) {
            auto* f = static_cast<MemberListWindow*>(d);
            shownOnFirst = dm->Members->recNo() == 0;
            if (modals.size() == 1) { // the first time a member is added
                dm->Members->append();
                dm->Members->fieldByName(QStringLiteral("Member_name"))
                    .setAsString(QStringLiteral("Cy"));
            }
            f->closeButton->click(); // "Close" stores the member being typed
            return d->result();
        };
        const QStringList all{QStringLiteral("Ann"), QStringLiteral("Bob"), QStringLiteral("Cy")};
        for (int time = 1; time <= 2; ++time) {
            action(QStringLiteral("Memberslist1"))->trigger();
            QCOMPARE(modals, QStringList(time, QStringLiteral("Form3")));
            QVERIFY(shownOnFirst);
            for (const DetailPage* page : form->pages())
                QCOMPARE(page->memberPickList(), all);
        }
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM members WHERE Member_name = 'Cy'")),
                 QStringLiteral("1"));
    }

    void contactWindowAddsAndEdits_data() {
        QTest::addColumn<QString>("project");
        QTest::addColumn<bool>("noContacts");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("card");      // the card double-clicked or current
        QTest::addColumn<QString>("typed"); // appended to the contact's name
        QTest::addColumn<QString>("closedBy");
        QTest::addColumn<QStringList>("names");
        const QStringList both{QStringLiteral("Carol"), QStringLiteral("Dave")};
        QTest::newRow("add, Ok stores") << "12" << false << "Addcontact1" << 0 << "Zoe"
                                        << "Ok" << QStringList{"Carol", "Dave", "Zoe"};
        QTest::newRow("add, Cancel drops") << "12" << false << "Addcontact1" << 0 << "Zoe"
                                           << "Cancel" << both;
        QTest::newRow("add, title bar drops") << "12" << false << "Addcontact1" << 0 << "Zoe"
                                              << "title bar" << both;
        QTest::newRow("edit, Ok stores") << "12" << false << "EditContact1" << 0 << " Smith"
                                         << "Ok" << QStringList{"Carol Smith", "Dave"};
        QTest::newRow("edit, Cancel keeps") << "12" << false << "EditContact1" << 0 << " Smith"
                                            << "Cancel" << both;
        QTest::newRow("double-click edits that card")
            << "12" << false << "double-click" << 1 << " Jr"
            << "Ok" << QStringList{"Carol", "Dave Jr"};
        QTest::newRow("edit without contacts starts a new one")
            << "14" << true << "EditContact1" << 0 << "Fay"
            << "Ok" << QStringList{"Fay"};
    }
    void contactWindowAddsAndEdits() {
        QFETCH(QString, project);
        QFETCH(bool, noContacts);
        QFETCH(QString, command);
        QFETCH(int, card);
        QFETCH(QString, typed);
        QFETCH(QString, closedBy);
        QFETCH(QStringList, names);
        if (noContacts)
            sql(QStringLiteral("DELETE FROM ProjectContact WHERE ProjectContact_project_id = %1")
                    .arg(project));
        select(project);
        form->projectPage->setCurrentWidget(form->projectPage->contactsTab);
        onModal = [&](QDialog* d) {
            auto* f = static_cast<ContactWindow*>(d);
            d->show();
            typeInto(f->edits[0], typed);
            if (closedBy == QLatin1String("Ok"))
                QTest::mouseClick(f->okButton, Qt::LeftButton);
            else if (closedBy == QLatin1String("Cancel"))
                QTest::mouseClick(f->cancelButton, Qt::LeftButton);
            else
                d->close();
            return d->result();
        };
        if (command == QLatin1String("double-click"))
            QTest::mouseDClick(form->projectPage->contacts->panel(card), Qt::LeftButton);
        else
            action(command)->trigger();
        QCOMPARE(modals, QStringList{QStringLiteral("Form15")});
        QVERIFY(!dm->Contacts->isEditing());
        QCOMPARE(contactNames(project), names);
        QCOMPARE(form->projectPage->contacts->rowCount(), names.size());
    }

    void contactWindowWaitsForARefusedExtension() {
        select(QStringLiteral("12"));
        bool stayed = false;
        onModal = [&](QDialog* d) {
            auto* f = static_cast<ContactWindow*>(d);
            d->show();
            d->activateWindow();
            [&] { QVERIFY(QTest::qWaitForWindowActive(d)); }();
            typeInto(f->edits[10], QStringLiteral("ten"));
            QTest::mouseClick(f->okButton, Qt::LeftButton);
            QTest::qWait(20); // the control reports once the focus has settled
            stayed = d->isVisible();
            QTest::mouseClick(f->cancelButton, Qt::LeftButton);
            return d->result();
        };
        action(QStringLiteral("EditContact1"))->trigger();
        QVERIFY(stayed);
        QVERIFY(!shown.isEmpty()); // the refusal was shown
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM ProjectContact WHERE "
                                      "ProjectContact_ext IS NOT NULL")),
                 QStringLiteral("0"));
    }

    void deleteContactAsksFirst_data() {
        QTest::addColumn<QString>("project");
        QTest::addColumn<bool>("noContacts");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("yes deletes the current contact")
            << "12" << false << QMessageBox::Yes << QStringList{"Dave"} << QString();
        QTest::newRow("no keeps it")
            << "12" << false << QMessageBox::No << QStringList{"Carol", "Dave"} << QString();
        QTest::newRow("a project without contacts: yes is refused")
            << "14" << true << QMessageBox::Yes << QStringList()
            << "Cannot perform this operation on an empty dataset.";
    }
    void deleteContactAsksFirst() {
        QFETCH(QString, project);
        QFETCH(bool, noContacts);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(QStringList, left);
        QFETCH(QString, refusal);
        if (noContacts)
            sql(QStringLiteral("DELETE FROM ProjectContact WHERE ProjectContact_project_id = %1")
                    .arg(project));
        select(project);
        answers << answer;
        action(QStringLiteral("DeleteContact1"))->trigger();
        QCOMPARE(shown.value(0).text, QStringLiteral("Delete selected contact?"));
        QCOMPARE(shown.value(0).buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(shown.value(1).text, refusal);
        QCOMPARE(contactNames(project), left);
    }

    // Caption sets find the controls by name; screen readers read each input by its label.
    void newWindowsNameAndLabelEveryInput() {
        const ContactWindow* contactWindow = windows->contactWindow.get();
        for (int i = 1; i <= 12; ++i)
            QCOMPARE(contactWindow->findChild<QLabel*>(QStringLiteral("Label%1").arg(i))->buddy(),
                     contactWindow->findChild<QWidget*>(QStringLiteral("DBEdit%1").arg(i)));
        for (const QWidget* w : {static_cast<const QWidget*>(windows->memberList.get()),
                                 static_cast<const QWidget*>(contactWindow)}) {
            for (const QWidget* input : w->findChildren<QWidget*>()) {
                if (!qobject_cast<const QLineEdit*>(input) &&
                    !qobject_cast<const QAbstractItemView*>(input))
                    continue;
                if (qobject_cast<const QAbstractItemView*>(input->parentWidget()))
                    continue; // an editor inside a grid
                bool labelled = !input->accessibleName().isEmpty();
                for (const QLabel* l : w->findChildren<QLabel*>())
                    labelled = labelled || l->buddy() == input;
                QVERIFY2(labelled, qPrintable(input->objectName()));
            }
        }
    }

    // ------------------------------------------------------------ mail

    void mailTextsAddressTheTeamOrContact_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("recipients"); // as the mail program reads them
        const QString addTeam =
            QStringLiteral("INSERT INTO ProjectTeam (ProjectTeam_project_id, ProjectTeam_member, "
                           "ProjectTeam_email) VALUES (12, 'Cy', '%1'), (12, 'Dee', NULL)");
        QTest::newRow("project team: two addresses, one member without")
            << "12"
            << QStringList{"UPDATE ProjectTeam SET ProjectTeam_email = 'ann@x.org' WHERE "
                           "ProjectTeam_member = 'Ann'",
                           addTeam.arg(QStringLiteral("cy@x.org"))}
            << "SpeedButton1"
            << "Mailto:ann@x.org;cy@x.org" << QStringList{"ann@x.org", "cy@x.org"};
        QTest::newRow("major activity team, one address")
            << "12,3" << QStringList{"UPDATE MajorTeam SET MajorTeam_email = 'ann@x.org'"}
            << "SpeedButton3"
            << "Mailto:ann@x.org" << QStringList{"ann@x.org"};
        QTest::newRow("action page: the action's team, not the project's")
            << "12,3,5"
            << QStringList{"UPDATE actionTeam SET ActionTeam_email = lower(ActionTeam_member) "
                           "|| '@y.org'",
                           "UPDATE ProjectTeam SET ProjectTeam_email = 'p@x.org'"}
            << "SpeedButton2"
            << "Mailto:ann@y.org;bob@y.org" << QStringList{"ann@y.org", "bob@y.org"};
        QTest::newRow("a team without addresses: the bare text")
            << "12,4,9" << QStringList{} << "SpeedButton2"
            << "Mailto:" << QStringList{};
        QTest::newRow("hostile addresses stay recipients")
            << "12"
            << QStringList{"UPDATE ProjectTeam SET ProjectTeam_email = "
                           "'eve@x.org?attach=/etc/passwd' WHERE ProjectTeam_member = 'Ann'",
                           "INSERT INTO ProjectTeam (ProjectTeam_project_id, ProjectTeam_member, "
                           "ProjectTeam_email) VALUES (12, 'Cy', 'x@y.org&body=Pay%20now'), "
                           "(12, 'Dee', 'a@b.org' || char(13, 10) || 'Bcc: boss@y.org'), "
                           "(12, 'Fay', 'p@q.org;r@s.org#top')"}
            << "SpeedButton1"
            << "Mailto:eve@x.org%3Fattach=/etc/passwd;x@y.org%26body=Pay%2520now;"
               "a@b.org%0D%0ABcc: boss@y.org;p@q.org%3Br@s.org%23top"
            << QStringList{"eve@x.org?attach=/etc/passwd", "x@y.org&body=Pay%20now",
                           "a@b.org\r\nBcc: boss@y.org", "p@q.org;r@s.org#top"};
        QTest::newRow("contact: its address alone")
            << "12"
            << QStringList{"UPDATE ProjectContact SET ProjectContact_email = 'carol@x.org' "
                           "WHERE ProjectContact_name = 'Carol'"}
            << "SpeedButton4"
            << "Mailto:carol@x.org" << QStringList{"carol@x.org"};
        QTest::newRow("contact without address") << "12" << QStringList{} << "SpeedButton4"
                                                 << "Mailto:" << QStringList{};
        QTest::newRow("hostile contact address")
            << "12"
            << QStringList{"UPDATE ProjectContact SET ProjectContact_email = "
                           "'c@x.org?subject=Invoice&attach=~/.ssh/id_rsa' WHERE "
                           "ProjectContact_name = 'Carol'"}
            << "SpeedButton4"
            << "Mailto:c@x.org%3Fsubject=Invoice%26attach=~/.ssh/id_rsa"
            << QStringList{"c@x.org?subject=Invoice&attach=~/.ssh/id_rsa"};
    }
    void mailTextsAddressTheTeamOrContact() {
        QFETCH(QString, id);
        QFETCH(QStringList, setup);
        QFETCH(QString, button);
        QFETCH(QString, text);
        QFETCH(QStringList, recipients);
        for (const QString& q : setup)
            sql(q);
        select(id);
        auto* b = form->findChild<QToolButton*>(button);
        visiblePage()->setCurrentWidget(b->parentWidget());
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(opened, QStringList{text});
        // The mail program reads recipients only: no subject, body, attachment or fragment.
        const QUrl url(text);
        QCOMPARE(url.scheme(), QStringLiteral("mailto"));
        QVERIFY(!url.hasQuery());
        QVERIFY(!url.hasFragment());
        QStringList read;
        const QString path = url.path(QUrl::FullyEncoded);
        if (!path.isEmpty())
            for (const QString& r : path.split(QLatin1Char(';')))
                read << QUrl::fromPercentEncoding(r.toUtf8());
        QCOMPARE(read, recipients);
    }

    void helpItemsOpenThePageAndTheMessages_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("opened");
        QTest::newRow("help page")
            << "Helpfiles1" << QStringLiteral(VOK_SOURCE_DIR "/doc/help/index.html");
        QTest::newRow("support") << "Emailusforhelp1"
                                 << "mailto:support@vok.example?subject=Help required";
        QTest::newRow("sales") << "Emailustobuysourcecode1"
                               << "mailto:sales@vok.example?subject=Source code";
    }
    void helpItemsOpenThePageAndTheMessages() {
        QFETCH(QString, command);
        QFETCH(QString, opened);
        action(command)->trigger();
        QCOMPARE(this->opened, QStringList{opened});
        QCOMPARE(shown.size(), 0);
        // Nothing could open it: said, not silent.
        shellOpens = false;
        action(command)->trigger();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].text.contains(opened));
    }

    // ------------------------------------------------------------ summary documents

    void summaryDocumentsHoldTheirLines_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QStringList>("lines");
        const QString blank = QStringLiteral(" ");
        QTest::newRow("project: an empty client keeps its label, objectives of two lines")
            << "12" << int(SummaryDocument::Kind::Project) << "SpeedButton6"
            << QStringList{"UPDATE projects SET Zel_date_to = '2024-06-30', Zel_leader = 'Lee', "
                           "Zel_description = 'Build it' || char(13, 10) || 'then ship it' "
                           "WHERE Zel_Project_id = 12"}
            << QStringList{"Project: Alpha",
                           "Start date: 01/01/2024",
                           "End date: 06/30/2024",
                           "Leader: Lee",
                           "Client: ",
                           "Objectives: ",
                           "Build it",
                           "then ship it",
                           blank,
                           blank,
                           blank};
        QTest::newRow("major activity: two blanks before its colon")
            << "12,4" << int(SummaryDocument::Kind::Major) << "SpeedButton8"
            << QStringList{"UPDATE major SET Major_from_date = '2024-02-01', Major_leader = "
                           "'Bob', Major_description = 'Pour and cure' WHERE Major_id = 4"}
            << QStringList{"Project: Alpha",
                           "Major  : Build",
                           "Start date: 02/01/2024",
                           "End date: ",
                           "Leader: Bob",
                           "Objectives: ",
                           "Pour and cure",
                           blank,
                           blank,
                           blank};
        QTest::newRow("action: one blank before its colon, empty objectives")
            << "12,3,6" << int(SummaryDocument::Kind::Action) << "SpeedButton7"
            << QStringList{"UPDATE action SET Action_to_date = '2024-03-15', Action_responsible "
                           "= 'Ann' WHERE Action_id = 6"}
            << QStringList{"Project: Alpha",
                           "Major  : Design",
                           "Action : Review",
                           "Start date: ",
                           "End date: 03/15/2024",
                           "Leader: Ann",
                           "Objectives: ",
                           "",
                           blank,
                           blank,
                           blank};
        QTest::newRow("contact: nine address lines, an empty one kept")
            << "12" << int(SummaryDocument::Kind::Contact) << "SpeedButton5"
            << QStringList{"UPDATE ProjectContact SET ProjectContact_title = 'Buyer', "
                           "ProjectContact_Company = 'Acme', ProjectContact_adr1 = '1 Main St', "
                           "ProjectContact_City = 'Springfield', ProjectContact_State = 'IL', "
                           "ProjectContact_Country = 'USA', ProjectContact_PCode = '62701' "
                           "WHERE ProjectContact_name = 'Carol'"}
            << QStringList{"Carol", "Buyer", "Acme",  "1 Main St", "",    "Springfield",
                           "IL",    "USA",   "62701", blank,       blank, blank};
    }
    void summaryDocumentsHoldTheirLines() {
        QFETCH(QString, id);
        QFETCH(int, kind);
        QFETCH(QString, button);
        QFETCH(QStringList, setup);
        QFETCH(QStringList, lines);
        for (const QString& q : setup)
            sql(q);
        form->tree->loadTree();
        select(id);
        // The document as an object: one paragraph per line, blanks included.
        const auto document = SummaryDocument::build(
            SummaryDocument::lines(static_cast<SummaryDocument::Kind>(kind), *dm));
        QStringList paragraphs;
        for (QTextBlock b = document->begin(); b.isValid(); b = b.next())
            paragraphs << b.text();
        QCOMPARE(paragraphs, lines);

        // The button writes it into the documents folder under a new name each time, and opens
        // it; the same paragraphs are in the file.
        auto* b = form->findChild<QToolButton*>(button);
        visiblePage()->setCurrentWidget(b->parentWidget());
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QVERIFY(folder.startsWith(env->root()));
        QTest::mouseClick(b, Qt::LeftButton);
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(opened.size(), 2);
        QCOMPARE(QFileInfo(opened[0]).absolutePath(), folder);
        QCOMPARE(QFileInfo(opened[1]).completeBaseName(),
                 QFileInfo(opened[0]).completeBaseName() + QStringLiteral(" (2)"));
        QCOMPARE(odtParagraphs(opened[1]), lines);
        QCOMPARE(shown.size(), 0);
    }

    void summaryDocumentIsReadByAWordProcessorsReader() {
        sql(QStringLiteral("UPDATE projects SET Zel_client = 'City of Springfield', "
                           "Zel_description = 'Two' || char(10) || 'lines' WHERE Zel_Project_id "
                           "= 12"));
        form->tree->loadTree();
        select(QStringLiteral("12"));
        QTest::mouseClick(form->projectPage->record->wordButton, Qt::LeftButton);
        const QString file = opened.value(0);
        QCOMPARE(QFileInfo(file).fileName(), QStringLiteral("Project Alpha.odt"));
        if (QStandardPaths::findExecutable(QStringLiteral("odt2txt")).isEmpty())
            QSKIP("odt2txt is not installed");
        QProcess reader;
        reader.start(QStringLiteral("odt2txt"), {file});
        QVERIFY(reader.waitForFinished());
        QStringList text;
        for (const QString& line : QString::fromUtf8(reader.readAllStandardOutput()).split('\n'))
            if (!line.trimmed().isEmpty())
                text << line.trimmed();
        // A reader collapses blanks at the ends of a paragraph; the words are all there.
        QCOMPARE(text, (QStringList{"Project: Alpha", "Start date: 01/01/2024",
                                    "End date:", "Leader:", "Client: City of Springfield",
                                    "Objectives:", "Two", "lines"}));
    }

    void documentThatCannotBeOpenedSaysWhereItIs() {
        select(QStringLiteral("12,3,5"));
        shellOpens = false;
        QTest::mouseClick(form->actionPage->record->wordButton, Qt::LeftButton);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].icon, Messages::Icon::Error);
        QVERIFY(shown[0].text.startsWith(QStringLiteral("Word may not be installed")));
        QVERIFY(shown[0].text.contains(opened.value(0)));
        QVERIFY(QFileInfo::exists(opened.value(0)));
    }

    // ------------------------------------------------------------ every command does something

    void clickingAnyNodeShowsItsPage_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("currentFirst"); // current, not selected, before the click
        QTest::newRow("the current but unselected project") << "12" << true;
        QTest::newRow("the current but unselected action") << "12,3,5" << true;
        QTest::newRow("another node") << "14,7" << false;
    }
    void clickingAnyNodeShowsItsPage() {
        QFETCH(QString, id);
        QFETCH(bool, currentFirst);
        form->tree->loadTree();
        QTreeWidgetItem* item = node(id);
        QTreeWidget* tree = form->tree->view();
        tree->scrollToItem(item);
        if (currentFirst) {
            tree->selectionModel()->setCurrentIndex(tree->currentIndex(),
                                                    QItemSelectionModel::NoUpdate);
            tree->setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
            QTest::qWait(80);
            QCOMPARE(tree->currentItem(), item);
            QVERIFY(!item->isSelected());
            QVERIFY(!visiblePage());
        }
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(item).center());
        QTRY_VERIFY(visiblePage());
        QCOMPARE(form->tree->idstrings.join(QLatin1Char(',')), id);
        // A click on the node whose page shows keeps the tab in front.
        visiblePage()->setCurrentIndex(1);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(item).center());
        QTest::qWait(80);
        QCOMPARE(visiblePage()->currentIndex(), 1);
    }

    void everyCommandDoesSomething_data() {
        QTest::addColumn<QString>("command");
        const AppWindows built; // the windows as Vok builds them, to list their commands
        const MainWindow* main = built.mainWindow.get();
        for (QAction* a : main->findChildren<QAction*>()) {
            if (a->menu() || a->isSeparator() || a->objectName().isEmpty() || !a->isVisible())
                continue;
            bool inMenu = false;
            bool reachable = true;
            for (QObject* o : a->associatedObjects()) {
                if (auto* m = qobject_cast<QMenu*>(o)) {
                    inMenu = true;
                    reachable = reachable && m->menuAction()->isVisible();
                } else if (qobject_cast<QMenuBar*>(o)) {
                    inMenu = true;
                }
            }
            if (inMenu && reachable)
                QTest::newRow(qPrintable(a->objectName())) << a->objectName();
        }
        for (QToolButton* b : main->findChildren<QToolButton*>(
                 QRegularExpression(QStringLiteral("^SpeedButton\\d+$"))))
            QTest::newRow(qPrintable(b->objectName())) << b->objectName();
    }
    void everyCommandDoesSomething() {
        QFETCH(QString, command);
        QObject* target = form->findChild<QObject*>(command);
        QVERIFY(target);
        // Where the user finds the command: the node of its level selected, its tab in front.
        auto* button = qobject_cast<QToolButton*>(target);
        QWidget* tab = nullptr;
        int level = 0;
        if (button) {
            for (QWidget* w = button; w; w = w->parentWidget()) {
                if (auto* p = qobject_cast<QTabWidget*>(
                        w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr)) {
                    tab = w;
                    level = p == form->majorPage ? 1 : p == form->actionPage ? 2 : 0;
                    break;
                }
            }
        } else {
            for (QObject* o : static_cast<QAction*>(target)->associatedObjects()) {
                if (o == form->majorMenu)
                    level = 1;
                else if (o == form->actionMenu)
                    level = 2;
                else if (o == form->contactMenu)
                    tab = form->projectPage->contactsTab;
            }
        }
        select(std::array<QString, 3>{QStringLiteral("12"), QStringLiteral("12,3"),
                                      QStringLiteral("12,3,5")}[level]);
        if (tab)
            page(level)->setCurrentWidget(tab);
        const auto state = [this] {
            const QTabWidget* p = visiblePage();
            return QStringList{QString::number(modals.size()),
                               QString::number(shown.size()),
                               QString::number(opened.size()),
                               QString::number(printed.size()),
                               p ? p->objectName() + QString::number(p->currentIndex()) : QString(),
                               QString::number(form->tree->isAdding()),
                               QString::number(form->tree->projectList().size()),
                               form->tree->view()->topLevelItem(1)->text(0),
                               QString::number(form->isVisible()),
                               form->windowTitle(),
                               QString::number(form->treeFind->isVisible()),
                               form->editMenu->undoAction->text(),
                               form->editMenu->redoAction->text()};
        };
        if (command == QLatin1String("Undo1") || command == QLatin1String("Redo1")) {
            vok::Table* t = form->projectPage->records(); // a step to take back or do again
            t->edit();
            t->fieldByName(QStringLiteral("Zel_client")).setValue(QStringLiteral("Undone"));
            t->post();
            if (command == QLatin1String("Redo1"))
                form->editMenu->undoAction->trigger();
        }
        if (command == QLatin1String("English1"))
            form->frenchAction->trigger();        // English shows once another language is on
        if (command == QLatin1String("Refresh1")) // shows what another installation changed
            sql(QStringLiteral(
                "UPDATE projects SET Zel_project = 'Gamma' WHERE Zel_Project_id = 14"));
        const QStringList before = state();
        if (button)
            QTest::mouseClick(button, Qt::LeftButton);
        else
            static_cast<QAction*>(target)->trigger();
        QTest::qWait(80); // the tree's selection timer
        QVERIFY2(state() != before, qPrintable(command + QStringLiteral(" did nothing visible")));
        // What prints went to the printer that stands in for every printer, and nowhere else.
        if (command == QLatin1String("SpeedButton9"))
            QCOMPARE(printed, QStringList{QStringLiteral("Contact List")});
        QVERIFY(!QDir(QDir::home().filePath(QStringLiteral("Documents"))).exists() ||
                QDir(QDir::home().filePath(QStringLiteral("Documents")))
                    .entryList({QStringLiteral("*.pdf")})
                    .isEmpty());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

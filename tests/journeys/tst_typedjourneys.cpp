// Journeys where what the user typed must land on the record it was typed on or be told about:
// another installation deleting or changing the record, a text a field refused meeting F5, a
// click on another node, a tab or a menu, adding a record while other commands wait, keys in
// grids, trees and entry windows, and what assistive tools are told.
#include "framework/widgets/dbctrlgrid.h"
#include "framework/widgets/dbdateedit.h"
#include "framework/widgets/dbedit.h"
#include "framework/widgets/dbgrid.h"
#include "framework/widgets/dbmemo.h"
#include "framework/widgets/dbnavigator.h"
#include "journeyfixture.h"
#include "support/testenvironment.h"
#include "ui/main/detailpage.h"
#include "ui/main/mainwindow.h"
#include "ui/main/recordtab.h"
#include "ui/main/treecontroller.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTreeWidget>
#include <QtTest>

namespace {
const QString website = QStringLiteral("Website Relaunch");
}

class TestTypedJourneys : public JourneyFixture {
    Q_OBJECT

    // A project's field, as stored.
    QString projectValue(const QString& field, const QString& project = website) {
        return stored(
            QStringLiteral("SELECT %1 FROM projects WHERE Zel_project = '%2'").arg(field, project));
    }
    QString majorValue(const QString& major, const QString& field) {
        return stored(QStringLiteral("SELECT %1 FROM major JOIN projects ON Zel_Project_id = "
                                     "Major_project_id WHERE Zel_project = '%2' AND Major_item "
                                     "= '%3'")
                          .arg(field, website, major));
    }
    // Another installation's write.
    void elsewhere(const QString& statement) { stored(statement); }
    // The identity string of the node the tree highlights, and of the record the page shows.
    QString highlighted() { return form->tree->selectedNode(); }
    QString pageRecord() {
        auto* page = qobject_cast<DetailPage*>(visiblePage());
        return page ? page->recordId() : QString();
    }
    QString idOf(const QString& path) {
        return form->tree->projectList().value(form->tree->nodeIndex(nodeAt(path)));
    }
    // The lines of the cost entry table, or of a member's time sheet file.
    int lineCount(const QString& table) {
        if (!table.endsWith(u".db"_qs))
            return stored(u"SELECT COUNT(*) FROM "_qs + table).toInt();
        const QString file = folder + QLatin1Char('/') + table;
        if (!QFile::exists(file))
            return 0;
        int n = 0;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_qs, u"sheet"_qs);
            db.setDatabaseName(file);
            QSqlQuery q(db);
            if (db.open() && q.exec(u"SELECT COUNT(*) FROM memberts"_qs) && q.next())
                n = q.value(0).toInt();
        }
        QSqlDatabase::removeDatabase(u"sheet"_qs);
        return n;
    }

private Q_SLOTS:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    // ------------------------------------------------------------ another installation

    // The record is gone when the edit is stored: the user is told, and tree and page move
    // together to its parent; the next edit lands there, never on a neighbour.
    void aRecordDeletedElsewhereTakesTreeAndPageToItsParent() {
        clickNode(website + u"/Launch"_qs);
        const QString buildBefore = majorValue(u"Build"_qs, u"Major_description"_qs);
        const QString launch = majorValue(u"Launch"_qs, u"Major_id"_qs);
        elsewhere(QStringLiteral("DELETE FROM action WHERE Action_major_id = %1").arg(launch));
        elsewhere(QStringLiteral("DELETE FROM major WHERE Major_id = %1").arg(launch));
        click(form->majorPage->record->description);
        type(u"Typed after it went."_qs);
        tab();
        QTRY_COMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, u"\"Launch\" is no longer stored: another installation deleted "
                                "it. What you typed into it could not be stored."_qs);
        QCOMPARE(highlighted(), idOf(website));
        QCOMPARE(pageRecord(), highlighted());
        QVERIFY(!nodeAt(website + u"/Launch"_qs));
        click(form->projectPage->record->description);
        key(Qt::Key_End, Qt::ControlModifier);
        type(u" Next edit."_qs);
        tab();
        QVERIFY(projectValue(u"Zel_description"_qs).endsWith(u" Next edit."_qs));
        QCOMPARE(majorValue(u"Build"_qs, u"Major_description"_qs), buildBefore);
    }

    // Both sides changed the client: the user keeps what was typed or takes theirs, told by the
    // field's caption; Escape on the record tab goes back to what is stored.
    void aClashIsSettledByKeepingMineOrTakingTheirs_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("client");
        QTest::newRow("keep mine") << "yes"
                                   << "Mine Ltd";
        QTest::newRow("take theirs") << "no"
                                     << "Theirs Inc";
        QTest::newRow("Escape after typing") << "escape"
                                             << "Northwind Outfitters";
    }
    void aClashIsSettledByKeepingMineOrTakingTheirs() {
        QFETCH(QString, how);
        QFETCH(QString, client);
        clickNode(website);
        click(form->projectPage->record->client);
        retype(u"Mine Ltd"_qs);
        if (how == u"escape"_qs) {
            key(Qt::Key_Escape);
            QCOMPARE(form->projectPage->record->client->text(), client);
            tab();
            QCOMPARE(shown.size(), 0);
        } else {
            elsewhere(QStringLiteral("UPDATE projects SET Zel_client = 'Theirs Inc' WHERE "
                                     "Zel_project = '%1'")
                          .arg(website));
            answers << (how == u"yes"_qs ? QMessageBox::Yes : QMessageBox::No);
            tab();
            QCOMPARE(shown.size(), 1);
            QVERIFY2(shown[0].text.contains(
                         u"Client: another user stored \u201cTheirs Inc\u201d, you typed "
                         "\u201cMine Ltd\u201d"_qs),
                     qPrintable(shown[0].text));
            QCOMPARE(shown[0].buttons, QMessageBox::Yes | QMessageBox::No);
            QTRY_COMPARE(form->projectPage->record->client->text(), client);
        }
        QCOMPARE(projectValue(u"Zel_client"_qs), client);
        // Nothing is left pending: leaving Vok stores nothing more and asks nothing.
        mainMenu(u"Exit1"_qs);
        QCOMPARE(projectValue(u"Zel_client"_qs), client);
        QCOMPARE(shown.size(), how == u"escape"_qs ? 0 : 1);
    }

    // ------------------------------------------------------------ a refused text is kept

    void aRefusedDateIsNeverDroppedSilently_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("F5") << "F5";
        QTest::newRow("another node") << "node";
        QTest::newRow("another tab") << "tab";
        QTest::newRow("a menu of the bar") << "menu";
        QTest::newRow("Refresh in the tree's menu") << "tree menu";
    }
    void aRefusedDateIsNeverDroppedSilently() {
        QFETCH(QString, how);
        clickNode(website);
        const QString before = projectValue(u"Zel_date_to"_qs);
        click(form->projectPage->record->to);
        retype(u"04/31/2027"_qs);
        if (how == u"F5"_qs) {
            key(Qt::Key_F5);
        } else if (how == u"node"_qs) {
            QTreeWidget* tree = form->tree->view();
            click(tree->viewport(), tree->visualItemRect(nodeAt(u"Office Move"_qs)).center());
        } else if (how == u"tab"_qs) {
            QTabBar* bar = visiblePage()->tabBar();
            click(bar, bar->tabRect(2).center());
        } else if (how == u"menu"_qs) {
            mainMenu(u"Reports1"_qs);
            QVERIFY(!QApplication::activePopupWidget());
        } else {
            treeMenu(u"Refresh1"_qs);
        }
        // Told on the page it was typed on, and back in the field with the text as typed.
        QTRY_COMPARE(shown.size(), 1);
        QVERIFY2(shown[0].text.contains(u"'04/31/2027' is not a valid date"_qs),
                 qPrintable(shown[0].text));
        QCOMPARE(visiblePage(), form->projectPage);
        QCOMPARE(form->projectPage->currentIndex(), 0);
        QCOMPARE(highlighted(), idOf(website));
        QCOMPARE(pageRecord(), highlighted());
        QCOMPARE(focused(), form->projectPage->record->to);
        QCOMPARE(form->projectPage->record->to->text(), u"04/31/2027"_qs);
        QCOMPARE(projectValue(u"Zel_date_to"_qs), before);
        // Put right, it is stored on the record it was typed on.
        retype(u"04/30/2027"_qs);
        tab();
        QCOMPARE(projectValue(u"Zel_date_to"_qs).left(10), u"2027-04-30"_qs);
        QCOMPARE(shown.size(), 1);
    }

    // A number a new record's field refused keeps Ok waiting; nothing is stored until it is put
    // right.
    void okWaitsForARefusedNumberOfANewRecord() {
        clickNode(website);
        treeMenu(u"AddMajor1"_qs);
        type(u"Testing"_qs);
        click(form->majorPage->record->percent);
        type(u"12x"_qs);
        click(form->majorPage->record->ok);
        QTRY_COMPARE(shown.size(), 1);
        QVERIFY(form->majorPage->record->ok->isVisible());
        QCOMPARE(majorValue(u"Testing"_qs, u"COUNT(*)"_qs), u"0"_qs);
        QCOMPARE(focused(), form->majorPage->record->percent);
        retype(u"12"_qs);
        click(form->majorPage->record->ok);
        QCOMPARE(majorValue(u"Testing"_qs, u"Major_perc_complete"_qs), u"12"_qs);
    }

    // ------------------------------------------------------------ adding is modal

    void whileAProjectIsAddedNothingElseStoresOrReplacesIt() {
        mainMenu(u"AddaProject1"_qs);
        type(u"Half typed"_qs);
        // Every item of the bar waits, the import included, and so does the tree.
        for (QAction* a : form->menuBar()->actions())
            QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
        mainMenu(u"ImportProject1"_qs);
        key(Qt::Key_F5);
        QVERIFY(filesAsked.isEmpty());
        QTreeWidget* tree = form->tree->view(); // disabled: a click selects nothing
        click(tree->viewport(), tree->visualItemRect(nodeAt(u"Office Move"_qs)).center());
        QCOMPARE(visiblePage(), form->projectPage);
        QVERIFY(form->projectPage->record->ok->isVisible());
        QCOMPARE(projectValue(u"COUNT(*)"_qs, u"Half typed"_qs), u"0"_qs);
        click(form->projectPage->record->cancel);
        QCOMPARE(projectValue(u"COUNT(*)"_qs, u"Half typed"_qs), u"0"_qs);

        // An import afterwards shows its project, and every command works again.
        fileAnswer = env->root() + u"/garden.xml"_qs;
        QFile plan(fileAnswer);
        QVERIFY(plan.open(QIODevice::WriteOnly));
        plan.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Project "
                   "xmlns=\"http://schemas.microsoft.com/project\"><SaveVersion>14</SaveVersion>"
                   "<Title>Garden</Title><Tasks><Task><UID>1</UID><ID>1</ID><Name>Design</Name>"
                   "<OutlineLevel>1</OutlineLevel></Task></Tasks></Project>\n");
        plan.close();
        mainMenu(u"ImportProject1"_qs);
        QCOMPARE(filesAsked.size(), 1);
        QVERIFY(projectValue(u"Zel_Project_id"_qs, u"Garden"_qs) != u"<none>"_qs);
        QCOMPARE(highlighted(), projectValue(u"Zel_Project_id"_qs, u"Garden"_qs));
        QVERIFY(form->tree->view()->isEnabled());
        for (QAction* a : form->menuBar()->actions())
            QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
    }

    // ------------------------------------------------------------ keys

    // Down from a member cell moves to the next row: a closed pick list never turns it into
    // another member.
    void arrowsInATeamGridMoveBetweenRows() {
        clickNode(website);
        clickTab(u"Team Members"_qs);
        vok::DBGrid* grid = form->projectPage->team;
        const auto members = [&] {
            return stored(QStringLiteral("SELECT group_concat(ProjectTeam_member, '|') FROM "
                                         "ProjectTeam WHERE ProjectTeam_project_id = %1")
                              .arg(idOf(website)));
        };
        const QString before = members();
        doubleClick(grid->viewport(), grid->visualRect(grid->model()->index(0, 0)).center());
        QVERIFY(qobject_cast<QComboBox*>(focused()));
        key(Qt::Key_Down);
        QCOMPARE(grid->currentIndex().row(), 1);
        key(Qt::Key_Down);
        QCOMPARE(grid->currentIndex().row(), 2);
        key(Qt::Key_Up);
        QCOMPARE(grid->currentIndex().row(), 1);
        clickTab(u"Project"_qs);
        QCOMPARE(members(), before);
    }

    // An empty team grid offers a blank row: a click, a double click or typing starts a member.
    void theFirstMemberOfAnEmptyTeamIsTypedIntoTheBlankRow_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("click, then type") << "click";
        QTest::newRow("double click, then type") << "double click";
        QTest::newRow("Tab into the grid, then type") << "tab";
    }
    void theFirstMemberOfAnEmptyTeamIsTypedIntoTheBlankRow() {
        QFETCH(QString, how);
        const QString path = website + u"/Launch/Go-live"_qs;
        clickNode(path);
        const QString id = highlighted().section(QLatin1Char(','), 2);
        const QString count =
            QStringLiteral("SELECT COUNT(*) FROM actionTeam WHERE Actionteam_action_id = %1")
                .arg(id);
        elsewhere(QStringLiteral("DELETE FROM actionTeam WHERE Actionteam_action_id = %1").arg(id));
        key(Qt::Key_F5);
        clickTab(u"Team Members"_qs);
        vok::DBGrid* grid = form->actionPage->team;
        const QPoint cell = grid->visualRect(grid->model()->index(0, 0)).center();
        if (how == u"click"_qs) {
            click(grid->viewport(), cell);
        } else if (how == u"double click"_qs) {
            doubleClick(grid->viewport(), cell);
        } else {
            QTabBar* bar = visiblePage()->tabBar();
            click(bar, bar->tabRect(1).center());
            for (int i = 0; i < 3 && focused() != grid; ++i)
                tab();
        }
        type(u"Ana Morales"_qs);
        key(Qt::Key_Return);
        clickTab(u"Action"_qs);
        QCOMPARE(stored(count), u"1"_qs);
        QCOMPARE(stored(QStringLiteral("SELECT Actionteam_email FROM actionTeam WHERE "
                                       "Actionteam_action_id = %1")
                            .arg(id)),
                 stored(u"SELECT Member_email FROM members WHERE Member_name = 'Ana Morales'"_qs));
    }

    // The Menu key right after an arrow key offers the menu of the node the arrow went to.
    void theMenuKeyOffersTheMenuOfTheNodeSelectedThen_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("arrow");
        QTest::addColumn<QString>("menu");
        QTest::newRow("project, Down to a major activity")
            << website << int(Qt::Key_Down) << "MajorPopup";
        QTest::newRow("major activity, Up to the project")
            << website + u"/Discovery"_qs << int(Qt::Key_Up) << "ProjectPopup";
    }
    void theMenuKeyOffersTheMenuOfTheNodeSelectedThen() {
        QFETCH(QString, from);
        QFETCH(int, arrow);
        QFETCH(QString, menu);
        clickNode(from);
        click(form->tree->view()->viewport(),
              form->tree->view()->visualItemRect(nodeAt(from)).center());
        QTest::keyClick(focused(), static_cast<Qt::Key>(arrow));
        menuKey();
        QMenu* popup = nullptr;
        QTRY_VERIFY((popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())));
        QCOMPARE(popup->objectName(), menu);
        popup->close();
    }

    // A line typed and not stored is not lost to Escape: Save, Discard or Cancel.
    void escapeInAnEntryWindowAsksAboutTheLine_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<bool>("stays");
        QTest::addColumn<int>("lines"); // more than before, afterwards
        for (const auto& [menu, item, table] :
             {std::tuple{"Timesheetentry1", "TimeSheetEntry2", "Ana Morales.db"},
              std::tuple{"CostSheets1", "CostEntry1", "Costentry"}}) {
            const QString which = QString::fromLatin1(item) + u": "_qs;
            QTest::newRow(qPrintable(which + u"Save"_qs))
                << menu << item << table << QMessageBox::Save << false << 1;
            QTest::newRow(qPrintable(which + u"Discard"_qs))
                << menu << item << table << QMessageBox::Discard << false << 0;
            QTest::newRow(qPrintable(which + u"Cancel"_qs))
                << menu << item << table << QMessageBox::Cancel << true << 0;
        }
    }
    void escapeInAnEntryWindowAsksAboutTheLine() {
        QFETCH(QString, menu);
        QFETCH(QString, item);
        QFETCH(QString, table);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(bool, stays);
        QFETCH(int, lines);
        bool open = false;
        onModal = [&](QDialog* d) {
            if (d->objectName() == u"Form11"_qs) {
                auto* names = d->findChild<QComboBox*>(u"MemberName"_qs);
                click(names);
                QAbstractItemView* list = names->view();
                QTRY_VERIFY(list->isVisible());
                QTest::qWait(QApplication::doubleClickInterval() + 50); // a person's pause
                const int row = names->findText(u"Ana Morales"_qs);
                click(list->viewport(), list->visualRect(list->model()->index(row, 0)).center());
                click(d->findChild<QWidget*>(u"Button1"_qs));
                return;
            }
            click(d->findChild<vok::DBNavigator*>(u"DBNavigator1"_qs)
                      ->button(vok::DBNavigator::Button::Insert));
            click(d->findChild<QWidget*>(u"DBEdit3"_qs));
            retype(u"7"_qs);
            answers << answer;
            key(Qt::Key_Escape);
            open = d->isVisible();
            if (open) // what stays is the line as typed; Escape again drops it
                QCOMPARE(qobject_cast<QLineEdit*>(focused())->text(), u"7"_qs);
            answers << QMessageBox::Discard;
        };
        const int before = lineCount(table);
        mainMenu(menu, item);
        QCOMPARE(shown.size(), stays ? 2 : 1);
        QCOMPARE(shown[0].buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        QCOMPARE(open, stays);
        QCOMPARE(lineCount(table), before + lines);
    }

    // ------------------------------------------------------------ the tree after a delete

    void aDeleteLeavesTheParentSelectedAndOpen_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("command");
        QTest::newRow("action") << website + u"/Design/Wireframes"_qs << "DeleteAction1";
        QTest::newRow("major activity") << website + u"/Design"_qs << "DeleteMajor1";
    }
    void aDeleteLeavesTheParentSelectedAndOpen() {
        QFETCH(QString, path);
        QFETCH(QString, command);
        const QString parent = path.section(QLatin1Char('/'), 0, -2);
        clickNode(path);
        answers << QMessageBox::Yes;
        treeMenu(command);
        QVERIFY(!nodeAt(path));
        QCOMPARE(highlighted(), idOf(parent));
        QCOMPARE(pageRecord(), highlighted());
        QVERIFY(nodeAt(parent)->isExpanded());
    }

    // ------------------------------------------------------------ what the pages show

    // A seeded fault: a page's box bound to another field.
    void theActualBoxesShowTheirOwnFields_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("project") << website << "projects"
                                 << "Zel";
        QTest::newRow("major activity") << website + u"/Design"_qs << "major"
                                        << "Major";
        QTest::newRow("action") << website + u"/Design/Wireframes"_qs << "action"
                                << "Action";
    }
    void theActualBoxesShowTheirOwnFields() {
        QFETCH(QString, path);
        QFETCH(QString, table);
        QFETCH(QString, prefix);
        clickNode(path);
        const QString key = highlighted().section(QLatin1Char(','), -1);
        const QString idField = prefix == u"Zel"_qs ? u"Zel_Project_id"_qs : prefix + u"_id"_qs;
        const auto value = [&](const QString& field) {
            return stored(QStringLiteral("SELECT %1_%2 FROM %3 WHERE %4 = %5")
                              .arg(prefix, field, table, idField, key))
                .toDouble();
        };
        const auto* record = qobject_cast<DetailPage*>(visiblePage())->record;
        const auto number = [](QString text) {
            return text.remove(QLatin1Char('$')).remove(QLatin1Char(',')).toDouble();
        };
        QVERIFY(value(u"hours"_qs) > 0 || value(u"actual"_qs) > 0);
        QCOMPARE(number(record->hours->text()), value(u"hours"_qs));
        QVERIFY2(!record->hours->text().contains(QLatin1Char('$')),
                 qPrintable(record->hours->text()));
        QCOMPARE(number(record->actual->text()), value(u"actual"_qs));
    }

    // ------------------------------------------------------------ assistive tools

    void assistiveToolsHearNamesInTheLanguageShown() {
        QTreeWidget* tree = form->tree->view();
        clickNode(website);
        QCOMPARE(focused(), tree);
        mainMenu(u"Changelanguage1"_qs, u"Franais1"_qs);
        const QString french = form->treeBox->title();
        QVERIFY(french != u"Current Projects"_qs);
        QTRY_COMPARE(QAccessible::queryAccessibleInterface(tree)->text(QAccessible::Name), french);
        QCOMPARE(focused(), tree);

        // The navigator's buttons are named in words of that language.
        onModal = [&](QDialog* d) {
            auto* navigator = d->findChild<vok::DBNavigator*>(u"DBNavigator1"_qs);
            QAccessibleInterface* first = QAccessible::queryAccessibleInterface(
                navigator->button(vok::DBNavigator::Button::First));
            QCOMPARE(first->text(QAccessible::Name), u"Premier enregistrement"_qs);
            QAccessibleInterface* post = QAccessible::queryAccessibleInterface(
                navigator->button(vok::DBNavigator::Button::Post));
            QCOMPARE(post->text(QAccessible::Name), u"Enregistrer la modification"_qs);
        };
        mainMenu(u"CostSheets1"_qs, u"CostEntry1"_qs);
        QCOMPARE(modals, QStringList{u"Form18"_qs});

        // Contact cards are named by what they show, and the current one is selected.
        clickTab(form->projectPage->tabText(3));
        vok::DBCtrlGrid* cards = form->projectPage->contacts;
        QAccessibleInterface* card = QAccessible::queryAccessibleInterface(cards->panel(0));
        QVERIFY2(card->text(QAccessible::Name).startsWith(u"Sofia Russo"_qs),
                 qPrintable(card->text(QAccessible::Name)));
        QVERIFY(card->state().selectable);
        QVERIFY(card->state().selected);
        if (cards->panel(1)->isVisible()) {
            click(cards->panel(1));
            QVERIFY(!card->state().selected);
            QVERIFY(QAccessible::queryAccessibleInterface(cards->panel(1))->state().selected);
        }
    }
};

QTEST_MAIN(TestTypedJourneys)
#include "tst_typedjourneys.moc"

// The main window's own paths, as a person takes them: notes, contacts, the tree, editing each
// kind of field, adding and deleting nodes, switching language, reading again what another
// installation changed, and leaving Vok with an edit pending.
#include "framework/widgets/dbcheckbox.h"
#include "framework/widgets/dbcombobox.h"
#include "framework/widgets/dbctrlgrid.h"
#include "framework/widgets/dbedit.h"
#include "framework/widgets/dbmemo.h"
#include "journeyfixture.h"
#include "ui/main/detailpage.h"
#include "ui/main/mainwindow.h"
#include "ui/main/recordtab.h"
#include "ui/main/treecontroller.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QToolTip>
#include <QtTest>

namespace {
const QString website = QStringLiteral("Website Relaunch");
}

class TestWindowJourneys : public JourneyFixture {
    Q_OBJECT

    QString sqlText(const QString& s) { return QString(s).replace(QLatin1Char('\''), u"''"_qs); }
    // A project's field, as stored.
    QString projectValue(const QString& project, const QString& field) {
        return stored(QStringLiteral("SELECT %1 FROM projects WHERE Zel_project = '%2'")
                          .arg(field, sqlText(project)));
    }
    QString majorKey(const QString& project, const QString& major) {
        return stored(QStringLiteral("SELECT Major_id FROM major JOIN projects ON Zel_Project_id = "
                                     "Major_project_id WHERE Zel_project = '%1' AND Major_item = "
                                     "'%2'")
                          .arg(sqlText(project), sqlText(major)));
    }
    QString actionKey(const QString& project, const QString& action) {
        return stored(QStringLiteral("SELECT Action_id FROM action JOIN projects ON "
                                     "Zel_Project_id = Action_project_id WHERE Zel_project = "
                                     "'%1' AND Action_name = '%2'")
                          .arg(sqlText(project), sqlText(action)));
    }
    // The notes of a node (project, "project/major" or "project/major/action"), in their order.
    QStringList notes(const QString& path) {
        const QStringList p = path.split(QLatin1Char('/'));
        QString query;
        if (p.size() == 1)
            query = QStringLiteral("SELECT Projectnotes_note FROM Projectnotes JOIN projects ON "
                                   "Zel_Project_id = Projectnotes_project_id WHERE Zel_project = "
                                   "'%1' ORDER BY Projectnotes_id")
                        .arg(sqlText(p[0]));
        else if (p.size() == 2)
            query = QStringLiteral("SELECT Majornotes_note FROM Majornotes WHERE "
                                   "Majornotes_major_id = %1 ORDER BY Majornotes_id")
                        .arg(majorKey(p[0], p[1]));
        else
            query = QStringLiteral("SELECT Actionnotes_note FROM actionnotes WHERE "
                                   "Actionnotes_action_id = %1 ORDER BY Actionnotes_id")
                        .arg(actionKey(p[0], p[2]));
        return column(query);
    }
    QStringList column(const QString& query) {
        QStringList out;
        for (int row = 0;; ++row) {
            const QString v = stored(query + QStringLiteral(" LIMIT 1 OFFSET %1").arg(row));
            if (v == QStringLiteral("<none>"))
                return out;
            out << v;
        }
    }
    vok::DBCtrlGrid* notesGrid() {
        for (auto* g : {form->projectPage->notes, form->majorPage->notes, form->actionPage->notes})
            if (g->isVisible())
                return g;
        return nullptr;
    }
    // Another installation's write.
    void elsewhere(const QString& statement) { stored(statement); }

private Q_SLOTS:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    // ------------------------------------------------------------ notes

    void theFirstNoteOfANodeIsTypedIntoTheBlankPanel_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("major activity") << website + u"/Design"_qs;
        QTest::newRow("action") << website + u"/Design/Wireframes"_qs;
    }
    void theFirstNoteOfANodeIsTypedIntoTheBlankPanel() {
        QFETCH(QString, path);
        QCOMPARE(notes(path), QStringList());
        clickNode(path);
        clickTab(u"Notes"_qs);
        vok::DBCtrlGrid* grid = notesGrid();
        QVERIFY(grid);
        click(grid->panel(0)->memo()->viewport());
        type(u"Cement ordered."_qs);
        // Leaving the tab stores it.
        clickTab(visiblePage()->tabText(0));
        QCOMPARE(notes(path), QStringList{u"Cement ordered."_qs});
    }

    void tabAndBacktabMoveBetweenNotesAndEachIsStoredOnLeaving() {
        const QStringList before = notes(website);
        QCOMPARE(before.size(), 2);
        clickNode(website);
        clickTab(u"Notes"_qs);
        click(notesGrid()->panel(0)->memo()->viewport());
        key(Qt::Key_End, Qt::ControlModifier);
        type(u" One."_qs);
        tab(); // to the second note
        QCOMPARE(focused(), notesGrid()->panel(1)->memo());
        key(Qt::Key_End, Qt::ControlModifier);
        type(u" Two."_qs);
        backtab();
        QCOMPARE(focused(), notesGrid()->panel(0)->memo());
        QCOMPARE(notes(website).value(1), before[1] + u" Two."_qs); // stored on leaving it
        key(Qt::Key_End, Qt::ControlModifier);
        type(u" Again."_qs);
        tab();
        tab(); // past the last note: a new one
        type(u"Third."_qs);
        clickNode(u"Office Move"_qs);
        QCOMPARE(notes(website), (QStringList{before[0] + u" One. Again."_qs,
                                              before[1] + u" Two."_qs, u"Third."_qs}));
    }

    void tabReachesTheNotesFromTheTabsAbove() {
        clickNode(website);
        clickTab(u"Notes"_qs);
        // From the tree, on through the tab bar, into the first note.
        for (int i = 0; i < 3 && focused() != notesGrid()->panel(0)->memo(); ++i)
            tab();
        QCOMPARE(focused(), notesGrid()->panel(0)->memo());
        key(Qt::Key_Home, Qt::ControlModifier);
        type(u"First: "_qs);
        clickTab(visiblePage()->tabText(0));
        QVERIFY(notes(website).value(0).startsWith(u"First: "_qs));
    }

    // ------------------------------------------------------------ contacts

    void aDoubleClickOnACardOpensTheContactWindowOnce_data() {
        QTest::addColumn<QString>("where");
        QTest::newRow("on the name") << "name";
        QTest::newRow("on the company") << "company";
        QTest::newRow("beside the text") << "panel";
    }
    void aDoubleClickOnACardOpensTheContactWindowOnce() {
        QFETCH(QString, where);
        clickNode(website);
        clickTab(u"Contacts"_qs);
        vok::DBCtrlGridPanel* card = form->projectPage->contacts->panel(0);
        QWidget* target = where == u"name"_qs      ? card->value(0)
                          : where == u"company"_qs ? card->value(1)
                                                   : static_cast<QWidget*>(card);
        QWidget* nameField = nullptr;
        onModal = [&](QDialog* dialog) {
            nameField = focused();
            click(dialog->findChild<QWidget*>(u"Button2"_qs)); // Cancel
        };
        doubleClick(target, where == u"panel"_qs ? QPoint(card->width() - 4, card->height() - 4)
                                                 : QPoint());
        QCOMPARE(modals, QStringList{u"Form15"_qs});
        QVERIFY(nameField);
        QCOMPARE(nameField->objectName(), u"DBEdit1"_qs);
        QCOMPARE(qobject_cast<QLineEdit*>(nameField)->text(), u"Sofia Russo"_qs);
    }

    void aNameTypedRightAfterAddContactIsTheName() {
        clickNode(website);
        clickTab(u"Contacts"_qs);
        QStringList names{u"Jo Smith"_qs, u"Al Jones"_qs, u"Bo Park"_qs};
        // Ok, then Cancel, then Ok: the button that closed the window last never takes the keys.
        const QList<QString> closers{u"Button1"_qs, u"Button2"_qs, u"Button1"_qs};
        for (int i = 0; i < names.size(); ++i) {
            onModal = [&](QDialog* dialog) {
                type(names[i]);
                click(dialog->findChild<QWidget*>(closers[i]));
            };
            click(form->projectPage->contacts->panel(0), {}, Qt::RightButton);
            QMenu* menu = nullptr;
            QTRY_VERIFY((menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())));
            chooseFromMenu(menu, u"Addcontact1"_qs);
        }
        QCOMPARE(modals.size(), 3);
        QCOMPARE(column(QStringLiteral("SELECT ProjectContact_name FROM ProjectContact WHERE "
                                       "ProjectContact_project_id = %1 ORDER BY "
                                       "ProjectContact_name")
                            .arg(projectValue(website, u"Zel_Project_id"_qs))),
                 (QStringList{u"Bo Park"_qs, u"Jo Smith"_qs, u"Sofia Russo"_qs}));
    }

    // ------------------------------------------------------------ the tree

    void aNameCutAtTheTreesEdgeShowsWholeAsATooltip() {
        const QString longName =
            u"Website Relaunch for the northern region, phase two, with the new shop"_qs;
        elsewhere(QStringLiteral("UPDATE projects SET Zel_project = '%1' WHERE Zel_project = '%2'")
                      .arg(longName, website));
        clickNode(u"Office Move"_qs);
        key(Qt::Key_F5); // Refresh
        QTreeWidget* tree = form->tree->view();
        const auto hover = [&](const QString& path) {
            const QPoint at = tree->visualItemRect(nodeAt(path)).center();
            QHelpEvent e(QEvent::ToolTip, at, tree->viewport()->mapToGlobal(at));
            QApplication::sendEvent(tree->viewport(), &e);
        };
        QVERIFY(nodeAt(longName));
        hover(longName);
        QTRY_COMPARE(QToolTip::text(), longName);
        QToolTip::hideText();
        hover(u"Office Move"_qs); // shown whole: the tree's own tooltip
        QTRY_COMPARE(QToolTip::text(), tree->toolTip());
    }

    void anAssistiveToolSelectsANodeAndItsPageShows() {
        QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(form->tree->view());
        QVERIFY(tree && tree->tableInterface());
        // Rows as the tool sees them: the projects and their major activities.
        int row = -1;
        for (int r = 0; r < tree->tableInterface()->rowCount() && row < 0; ++r) {
            if (QAccessibleInterface* cell = tree->tableInterface()->cellAt(r, 0);
                cell && cell->text(QAccessible::Name) == website)
                row = r;
        }
        QVERIFY(row >= 0);
        QVERIFY(tree->tableInterface()->selectRow(row));
        QTRY_VERIFY(visiblePage() == form->projectPage);
        QCOMPARE(form->projectPage->record->name->text(), website);
        // The keyboard goes on from there.
        click(form->projectPage->record->client);
        retype(u"Acme"_qs);
        tab();
        QCOMPARE(projectValue(website, u"Zel_client"_qs), u"Acme"_qs);
    }

    // ------------------------------------------------------------ reading again

    void aPageShowsWhatAnotherInstallationStored_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("selecting another node and back") << "reselect";
        QTest::newRow("clicking the selected node again") << "click again";
        QTest::newRow("F5") << "F5";
        QTest::newRow("Refresh in the tree's menu") << "menu";
    }
    void aPageShowsWhatAnotherInstallationStored() {
        QFETCH(QString, how);
        clickNode(website);
        clickTab(u"Notes"_qs);
        clickTab(u"Project"_qs);
        elsewhere(QStringLiteral("UPDATE projects SET Zel_client = 'Contoso' WHERE Zel_project = "
                                 "'%1'")
                      .arg(website));
        elsewhere(u"UPDATE projects SET Zel_project = 'Office Move East' WHERE Zel_project = "
                  "'Office Move'"_qs);
        if (how == u"reselect"_qs) {
            clickNode(u"Annual Conference 2027"_qs);
            clickNode(website);
        } else if (how == u"click again"_qs) {
            clickNode(website);
        } else if (how == u"F5"_qs) {
            key(Qt::Key_F5);
        } else {
            treeMenu(u"Refresh1"_qs);
        }
        QTRY_COMPARE(form->projectPage->record->client->text(), u"Contoso"_qs);
        QCOMPARE(form->projectPage->record->name->text(), website);
        QCOMPARE(form->tree->view()->currentItem()->text(0), website);
        if (how == u"F5"_qs || how == u"menu"_qs)
            QVERIFY(nodeAt(u"Office Move East"_qs));
        // And the next edit lands on it.
        click(form->projectPage->record->client);
        retype(u"Contoso Ltd"_qs);
        tab();
        QCOMPARE(projectValue(website, u"Zel_client"_qs), u"Contoso Ltd"_qs);
    }

    void refreshKeepsTheTabThatShowed() {
        clickNode(website);
        clickTab(u"Notes"_qs);
        elsewhere(QStringLiteral("INSERT INTO Projectnotes (Projectnotes_project_id, "
                                 "Projectnotes_note) VALUES (%1, 'From elsewhere')")
                      .arg(projectValue(website, u"Zel_Project_id"_qs)));
        key(Qt::Key_F5);
        QCOMPARE(visiblePage()->currentIndex(), 2);
        QTRY_VERIFY(notesGrid()->panel(2)->isVisible());
        QCOMPARE(notesGrid()->panel(2)->memo()->toPlainText(), u"From elsewhere"_qs);
    }

    void aNodeAnotherInstallationDeletedIsSaidToBeGone() {
        clickNode(website + u"/Design"_qs);
        clickNode(website);
        elsewhere(QStringLiteral("DELETE FROM major WHERE Major_id = %1")
                      .arg(majorKey(website, u"Design"_qs)));
        QTreeWidget* tree = form->tree->view();
        click(tree->viewport(), tree->visualItemRect(nodeAt(website + u"/Design"_qs)).center());
        QTRY_COMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text,
                 u"\"Design\" is no longer stored: another installation deleted it."_qs);
        // Tree and page go to its parent together.
        QCOMPARE(visiblePage(), form->projectPage);
        QCOMPARE(form->tree->view()->currentItem(), nodeAt(website));
        QCOMPARE(form->projectPage->record->name->text(), website);
        QVERIFY(nodeAt(website + u"/Build"_qs));
        QVERIFY(!nodeAt(website + u"/Design"_qs));
    }

    // ------------------------------------------------------------ adding, editing, deleting

    void aProjectAndEachKindOfChildAreAddedAndGetTheirFirstNote() {
        mainMenu(u"AddaProject1"_qs);
        type(u"Garden Shed"_qs);
        click(form->projectPage->record->ok);
        QTRY_COMPARE(form->tree->view()->currentItem()->text(0), u"Garden Shed"_qs);
        const QString project = projectValue(u"Garden Shed"_qs, u"Zel_Project_id"_qs);
        QVERIFY(project != u"<none>"_qs);

        clickTab(u"Notes"_qs); // the first note of a project
        click(notesGrid()->panel(0)->memo()->viewport());
        type(u"Order timber."_qs);
        clickTab(u"Project"_qs);
        QCOMPARE(notes(u"Garden Shed"_qs), QStringList{u"Order timber."_qs});

        treeMenu(u"AddMajor1"_qs);
        type(u"Foundations"_qs);
        click(form->majorPage->record->ok);
        QTRY_COMPARE(form->tree->view()->currentItem()->text(0), u"Foundations"_qs);
        const QString major = majorKey(u"Garden Shed"_qs, u"Foundations"_qs);
        QVERIFY(major != u"<none>"_qs);

        treeMenu(u"AddAction1"_qs);
        type(u"Dig"_qs);
        click(form->actionPage->record->ok);
        QTRY_COMPARE(form->tree->view()->currentItem()->text(0), u"Dig"_qs);
        QCOMPARE(stored(QStringLiteral("SELECT Action_project_id || ',' || Action_major_id FROM "
                                       "action WHERE Action_name = 'Dig'")),
                 project + u","_qs + major);

        treeMenu(u"AddAction2"_qs); // a sibling from the action's own menu
        type(u"Pour"_qs);
        click(form->actionPage->record->ok);
        QCOMPARE(stored(QStringLiteral("SELECT COUNT(*) FROM action WHERE Action_major_id = %1")
                            .arg(major)),
                 u"2"_qs);
    }

    void eachKindOfFieldIsStoredWhenTheUserLeavesIt_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("expected");
        QTest::newRow("text") << "DBEdit5"
                              << "Zel_client"
                              << "Acme Stores";
        QTest::newRow("memo") << "DBMemo1"
                              << "Zel_description"
                              << "New aims";
        QTest::newRow("date") << "DBEdit3"
                              << "Zel_date_from"
                              << "2024-03-15";
        QTest::newRow("combo") << "DBLookupComboBox1"
                               << "Zel_leader"
                               << "Eva Lindqvist";
        QTest::newRow("check box") << "DBCheckBox1"
                                   << "Zel_completed"
                                   << "1";
    }
    void eachKindOfFieldIsStoredWhenTheUserLeavesIt() {
        QFETCH(QString, control);
        QFETCH(QString, field);
        QFETCH(QString, expected);
        clickNode(website);
        const auto others = [&] {
            return stored(QStringLiteral("SELECT group_concat(%1, '|') FROM projects WHERE "
                                         "Zel_project <> '%2'")
                              .arg(field, website));
        };
        const QString othersBefore = others();
        QWidget* w = widget(control);
        QVERIFY(w);
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            click(combo);
            QAbstractItemView* list = combo->view();
            QTRY_VERIFY(list->isVisible());
            // A person's pause: a click right after the list opened is not taken as a choice.
            QTest::qWait(QApplication::doubleClickInterval() + 50);
            const int row = combo->findText(expected);
            QVERIFY(row >= 0);
            click(list->viewport(), list->visualRect(list->model()->index(row, 0)).center());
        } else if (qobject_cast<QCheckBox*>(w)) {
            click(w, QPoint(8, w->height() / 2));
        } else {
            click(w);
            retype(control == u"DBEdit3"_qs ? u"03/15/2024"_qs : expected);
        }
        tab();
        QCOMPARE(projectValue(website, field).left(expected.size()), expected);
        QCOMPARE(others(), othersBefore); // nothing landed on another project
    }

    void afterADeleteTheNextEditLandsOnTheNodeClicked_data() {
        QTest::addColumn<QString>("deleted");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("next");
        QTest::newRow("action") << website + u"/Design/Visual design"_qs << "DeleteAction1"
                                << website + u"/Design/Wireframes"_qs;
        QTest::newRow("major activity")
            << website + u"/Design"_qs << "DeleteMajor1" << website + u"/Build"_qs;
        QTest::newRow("project") << website << "Deleteproject1" << u"Office Move"_qs;
    }
    void afterADeleteTheNextEditLandsOnTheNodeClicked() {
        QFETCH(QString, deleted);
        QFETCH(QString, command);
        QFETCH(QString, next);
        const QString before = stored(u"SELECT COUNT(*) FROM action"_qs);
        clickNode(deleted);
        answers << QMessageBox::Yes;
        treeMenu(command);
        QCOMPARE(shown.size(), 1);
        QVERIFY(!nodeAt(deleted));
        QVERIFY(stored(u"SELECT COUNT(*) FROM action"_qs) != before);
        clickNode(next);
        QCOMPARE(form->tree->view()->currentItem()->text(0), next.section(QLatin1Char('/'), -1));
        QLineEdit* name = std::array<QLineEdit*, 3>{
            form->projectPage->record->name, form->majorPage->record->name,
            form->actionPage->record->name}[next.count(QLatin1Char('/'))];
        QVERIFY(name->isVisible());
        QCOMPARE(name->text(), next.section(QLatin1Char('/'), -1));
        click(name);
        key(Qt::Key_End);
        type(u" (kept)"_qs);
        tab();
        const QString renamed = next.section(QLatin1Char('/'), -1) + u" (kept)"_qs;
        QCOMPARE(form->tree->view()->currentItem()->text(0), renamed);
        QCOMPARE(stored(QStringLiteral("SELECT (SELECT COUNT(*) FROM projects WHERE Zel_project = "
                                       "'%1') + (SELECT COUNT(*) FROM major WHERE Major_item = "
                                       "'%1') + (SELECT COUNT(*) FROM action WHERE Action_name = "
                                       "'%1')")
                            .arg(renamed)),
                 u"1"_qs);
    }

    void aDeleteChosenFasterThanThePageFollowsRemovesTheSelectedNode_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("command");
        QTest::newRow("action") << website + u"/Design/Wireframes"_qs << u"Visual design"_qs
                                << "DeleteAction1";
        QTest::newRow("major activity") << website + u"/Design"_qs << u"Build"_qs << "DeleteMajor1";
    }
    void aDeleteChosenFasterThanThePageFollowsRemovesTheSelectedNode() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, command);
        clickNode(from);
        QTreeWidget* tree = form->tree->view();
        // A quick hand: down to the next node and its Delete before the page followed.
        answers << QMessageBox::Yes;
        QTest::keyClick(tree, Qt::Key_Down);
        QCOMPARE(tree->currentItem()->text(0), to);
        const QPoint at = tree->visualItemRect(tree->currentItem()).center();
        QTest::mouseClick(form->windowHandle(), Qt::RightButton, {},
                          tree->viewport()->mapTo(form, at));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        bool chosen = false;
        for (QAction* a : menu->actions()) {
            if (a->objectName() == command) {
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
                chosen = true;
            }
        }
        QVERIFY(chosen);
        settle();
        QCOMPARE(shown.size(), 1);
        const QString parent = from.section(QLatin1Char('/'), 0, -2);
        const QString left = from.section(QLatin1Char('/'), -1);
        QVERIFY(!nodeAt(parent + u"/"_qs + to));
        QVERIFY(nodeAt(from));
        QCOMPARE(stored(QStringLiteral("SELECT (SELECT COUNT(*) FROM major WHERE Major_item = "
                                       "'%1') + (SELECT COUNT(*) FROM action WHERE Action_name "
                                       "= '%1')")
                            .arg(left)),
                 u"1"_qs);
        // The tree opens as at start: projects show their major activities, not their actions,
        // but for the node the deleted one stood under, which stays open.
        for (int p = 0; p < tree->topLevelItemCount(); ++p) {
            QVERIFY(tree->topLevelItem(p)->isExpanded());
            for (int m = 0; m < tree->topLevelItem(p)->childCount(); ++m) {
                const QTreeWidgetItem* major = tree->topLevelItem(p)->child(m);
                QCOMPARE(major->isExpanded(), major == nodeAt(parent));
            }
        }
    }

    void afterSwitchingLanguageAnEditIsStored() {
        mainMenu(u"Changelanguage1"_qs, u"Franais1"_qs);
        QCOMPARE(form->exitAction->text(), u"Quitter"_qs);
        clickNode(website + u"/Design/Wireframes"_qs);
        click(form->actionPage->record->percent);
        retype(u"75"_qs);
        tab();
        QCOMPARE(stored(QStringLiteral("SELECT Action_perc_complete FROM action WHERE Action_id = "
                                       "%1")
                            .arg(actionKey(website, u"Wireframes"_qs))),
                 u"75"_qs);
    }

    // ------------------------------------------------------------ leaving Vok

    void leavingVokWithAnEditPendingStoresItOrAsks_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("conflict");
        QTest::addColumn<QList<QMessageBox::StandardButton>>("answerList");
        QTest::addColumn<int>("questions");
        QTest::addColumn<bool>("stillOpen");
        QTest::addColumn<QString>("client");
        using B = QList<QMessageBox::StandardButton>;
        QTest::newRow("Exit stores") << "exit"
                                     << "DBEdit5"
                                     << "Acme" << false << B{} << 0 << false << "Acme";
        QTest::newRow("title bar stores") << "title bar"
                                          << "DBEdit5"
                                          << "Acme" << false << B{} << 0 << false << "Acme";
        QTest::newRow("refused text: go back")
            << "exit"
            << "DBEdit6"
            << "abc" << false << B{QMessageBox::Yes} << 1 << true << "Northwind Outfitters";
        QTest::newRow("refused text: drop")
            << "title bar"
            << "DBEdit6"
            << "abc" << false << B{QMessageBox::No} << 1 << false << "Northwind Outfitters";
        QTest::newRow("changed elsewhere: go back")
            << "exit"
            << "DBEdit5"
            << "Acme" << true << B{QMessageBox::Yes} << 1 << true << "Contoso";
        QTest::newRow("changed elsewhere: drop")
            << "exit"
            << "DBEdit5"
            << "Acme" << true << B{QMessageBox::No} << 1 << false << "Contoso";
    }
    void leavingVokWithAnEditPendingStoresItOrAsks() {
        QFETCH(QString, how);
        QFETCH(QString, control);
        QFETCH(QString, text);
        QFETCH(bool, conflict);
        QFETCH(QList<QMessageBox::StandardButton>, answerList);
        QFETCH(int, questions);
        QFETCH(bool, stillOpen);
        QFETCH(QString, client);
        clickNode(website);
        QCOMPARE(projectValue(website, u"Zel_client"_qs), u"Northwind Outfitters"_qs);
        click(widget(control));
        retype(text);
        if (conflict)
            elsewhere(QStringLiteral("UPDATE projects SET Zel_client = 'Contoso' WHERE "
                                     "Zel_project = '%1'")
                          .arg(website));
        answers = answerList;
        if (how == u"exit"_qs) {
            mainMenu(u"Exit1"_qs);
        } else {
            QCloseEvent close; // what the window manager sends for the title bar's button
            QApplication::sendEvent(form->windowHandle(), &close);
            settle();
        }
        QCOMPARE(shown.size(), questions);
        if (questions > 0)
            QCOMPARE(shown[0].buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(form->isVisible(), stillOpen);
        QCOMPARE(projectValue(website, u"Zel_client"_qs), client);
        // Back to it: the text is still there to be put right.
        if (stillOpen)
            QCOMPARE(qobject_cast<QLineEdit*>(widget(control))->text(), text);
    }
};

QTEST_MAIN(TestWindowJourneys)
#include "tst_windowjourneys.moc"

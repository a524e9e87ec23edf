// Undo and redo from the keyboard, find in the tree, the Delete key and the room given to the
// tree, as a person uses them: every check reads back what was stored.
#include "app/exe/appwindows.h"
#include "framework/widgets/dbctrlgrid.h"
#include "framework/widgets/dbedit.h"
#include "journeyfixture.h"
#include "ui/main/detailpage.h"
#include "ui/main/editmenu.h"
#include "ui/main/mainwindow.h"
#include "ui/main/recordtab.h"
#include "ui/main/treecontroller.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QSqlRecord>
#include <QTreeWidget>
#include <QtTest>

namespace {
const QString website = QStringLiteral("Website Relaunch");
// What a major activity's deletion takes with it, and what refers to it by number.
const char* const wholeFolder[] = {"projects",   "major",         "action",      "Projectnotes",
                                   "Majornotes", "actionnotes",   "ProjectTeam", "MajorTeam",
                                   "actionTeam", "ProjectContact"};
} // namespace

class TestUndoJourneys : public JourneyFixture {
    Q_OBJECT

    void undo() { key(Qt::Key_Z, Qt::ControlModifier); }
    void redo() { key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); }

    // Every row of the tables a node's deletion touches, numbers included.
    QStringList everything() {
        QStringList out;
        for (const char* table : wholeFolder) {
            QSqlQuery q = storedRows(QStringLiteral("SELECT * FROM %1").arg(QLatin1String(table)));
            QStringList rows;
            while (q.next()) {
                QStringList values;
                for (int i = 0; i < q.record().count(); ++i)
                    values << q.value(i).toString();
                rows << values.join(QLatin1Char('|'));
            }
            rows.sort();
            out << QLatin1String(table) << rows;
        }
        return out;
    }
    // The query that reads a field of the node at a path, by the node's numbers.
    QString fieldQuery(const QString& path, const QString& field) {
        const QStringList p = path.split(QLatin1Char('/'));
        const QString project =
            stored(QStringLiteral("SELECT Zel_Project_id FROM projects WHERE Zel_project = '%1'")
                       .arg(p[0]));
        if (p.size() == 1)
            return QStringLiteral("SELECT %1 FROM projects WHERE Zel_Project_id = %2")
                .arg(field, project);
        const QString major = stored(QStringLiteral("SELECT Major_id FROM major WHERE "
                                                    "Major_project_id = %1 AND Major_item = '%2'")
                                         .arg(project, p[1]));
        if (p.size() == 2)
            return QStringLiteral("SELECT %1 FROM major WHERE Major_id = %2").arg(field, major);
        const QString action =
            stored(QStringLiteral("SELECT Action_id FROM action WHERE Action_major_id = %1 AND "
                                  "Action_name = '%2'")
                       .arg(major, p[2]));
        return QStringLiteral("SELECT %1 FROM action WHERE Action_id = %2").arg(field, action);
    }
    // Changes a control of the page showing, and leaves it.
    void change(const QString& control, const QString& typed) {
        changeControl(widget(control), typed);
        tab();
    }

private Q_SLOTS:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void aStoredEditIsUndoneAndRedoneByItsKeys_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("named");
        const QString design = website + u"/Design"_qs;
        const QString wireframes = design + u"/Wireframes"_qs;
        QTest::newRow("project text") << website << "DBEdit5"
                                      << "Zel_client"
                                      << "Acme Stores"
                                      << "Undo typing in Client";
        QTest::newRow("project date") << website << "DBEdit3"
                                      << "Zel_date_from"
                                      << "03/15/2024"
                                      << "Undo typing in Start date";
        QTest::newRow("project check box") << website << "DBCheckBox1"
                                           << "Zel_completed"
                                           << ""
                                           << "Undo change of Completed";
        QTest::newRow("project combo") << website << "DBLookupComboBox1"
                                       << "Zel_leader"
                                       << "Eva Lindqvist"
                                       << "Undo change of Project leader";
        QTest::newRow("major text") << design << "DBMemo2"
                                    << "Major_description"
                                    << "New aims"
                                    << "Undo typing in Objectives";
        QTest::newRow("major date") << design << "DBEdit10"
                                    << "Major_to_date"
                                    << "12/24/2026"
                                    << "Undo typing in End date";
        QTest::newRow("major check box") << design << "DBCheckBox2"
                                         << "Major_critical"
                                         << ""
                                         << "Undo change of Critical";
        QTest::newRow("major combo") << design << "DBLookupComboBox2"
                                     << "Major_leader"
                                     << "Eva Lindqvist"
                                     << "Undo change of Major leader";
        QTest::newRow("action name") << wireframes << "DBEdit13"
                                     << "Action_name"
                                     << "Sketches"
                                     << "Undo typing in Action Name";
        QTest::newRow("action date") << wireframes << "DBEdit15"
                                     << "Action_from_date"
                                     << "01/02/2025"
                                     << "Undo typing in Start date";
        QTest::newRow("action check box") << wireframes << "DBCheckBox5"
                                          << "Action_completed"
                                          << ""
                                          << "Undo change of Completed";
        QTest::newRow("action combo") << wireframes << "DBLookupComboBox3"
                                      << "Action_responsible"
                                      << "Eva Lindqvist"
                                      << "Undo change of Action Leader";
    }
    void aStoredEditIsUndoneAndRedoneByItsKeys() {
        QFETCH(QString, path);
        QFETCH(QString, control);
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, named);
        clickNode(path);
        const QString query = fieldQuery(path, field);
        const QString before = stored(query);
        change(control, typed);
        const QString after = stored(query);
        QVERIFY(after != before);
        QCOMPARE(form->editMenu->undoAction->text(), named);
        undo();
        QCOMPARE(stored(query), before);
        // The page and the tree show the node, as stored again.
        QCOMPARE(form->tree->selectedNode().count(QLatin1Char(',')), path.count(QLatin1Char('/')));
        QCOMPARE(form->tree->view()->currentItem()->text(0), path.section(QLatin1Char('/'), -1));
        QCOMPARE(form->editMenu->redoAction->text(), QString(named).replace(0, 4, u"Redo"_qs));
        redo();
        QCOMPARE(stored(query), after);
        // From the tree too, where the focus is now.
        click(form->tree->view()->viewport(),
              form->tree->view()->visualItemRect(form->tree->view()->currentItem()).center());
        undo();
        QCOMPARE(stored(query), before);
        QVERIFY(shown.isEmpty());
    }

    void textNotStoredYetIsTheFieldsOwnToUndo() {
        clickNode(website);
        const QString query = fieldQuery(website, u"Zel_client"_qs);
        const QString before = stored(query);
        change(u"DBEdit5"_qs, u"Acme"_qs); // a stored step
        click(widget(u"DBEdit5"_qs));
        key(Qt::Key_End);
        type(u" Ltd"_qs);
        undo(); // the field's own: what was typed goes, nothing stored changes
        QVERIFY(!qobject_cast<QLineEdit*>(widget(u"DBEdit5"_qs))->text().endsWith(u" Ltd"_qs));
        QCOMPARE(stored(query), u"Acme"_qs);
        QVERIFY(shown.isEmpty());
        key(Qt::Key_Escape); // the record as stored
        undo();              // now the window's
        QCOMPARE(stored(query), before);
    }

    void aDeletedMajorActivityComesBackWithEveryRowUnderItsNumbers_data() {
        QTest::addColumn<bool>("deleteKey");
        QTest::newRow("menu") << false;
        QTest::newRow("Delete key") << true;
    }
    void aDeletedMajorActivityComesBackWithEveryRowUnderItsNumbers() {
        QFETCH(bool, deleteKey);
        const QString build = website + u"/Build"_qs;
        const QStringList before = everything();
        clickNode(build);
        answers << QMessageBox::Yes;
        if (deleteKey) {
            click(form->tree->view()->viewport(),
                  form->tree->view()->visualItemRect(nodeAt(build)).center());
            key(Qt::Key_Delete);
        } else {
            treeMenu(u"DeleteMajor1"_qs);
        }
        QCOMPARE(shown.size(), 1); // the confirmation
        QVERIFY(!nodeAt(build));
        QVERIFY(everything() != before);
        QCOMPARE(form->editMenu->undoAction->text(), u"Undo delete of major activity 'Build'"_qs);
        undo();
        QCOMPARE(everything(), before);
        QCOMPARE(form->tree->view()->currentItem(), nodeAt(build));
        QCOMPARE(visiblePage(), form->majorPage);
        redo();
        QVERIFY(!nodeAt(build));
        QCOMPARE(form->tree->view()->currentItem(), nodeAt(website)); // left on its parent
        undo();
        QCOMPARE(everything(), before);
    }

    void theDeleteKeyAsksFirst() {
        const QString action = website + u"/Design/Wireframes"_qs;
        clickNode(action);
        click(form->tree->view()->viewport(),
              form->tree->view()->visualItemRect(nodeAt(action)).center());
        answers << QMessageBox::No;
        key(Qt::Key_Delete);
        QCOMPARE(shown.size(), 1);
        QVERIFY(nodeAt(action));
        QCOMPARE(stored(u"SELECT COUNT(*) FROM action WHERE Action_name = 'Wireframes'"_qs),
                 u"1"_qs);
    }

    void anAddedNodeIsRemovedByUndo_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("named");
        QTest::newRow("project") << ""
                                 << "AddaProject1"
                                 << "projects"
                                 << "Undo add of project 'Garden Shed'";
        QTest::newRow("action") << website + u"/Design"_qs << "AddAction1"
                                << "action"
                                << "Undo add of action 'Garden Shed'";
    }
    void anAddedNodeIsRemovedByUndo() {
        QFETCH(QString, from);
        QFETCH(QString, command);
        QFETCH(QString, table);
        QFETCH(QString, named);
        const QString count = QStringLiteral("SELECT COUNT(*) FROM %1").arg(table);
        const QString before = stored(count);
        if (from.isEmpty()) {
            mainMenu(command);
        } else {
            clickNode(from);
            treeMenu(command);
        }
        type(u"Garden Shed"_qs);
        click(widget(from.isEmpty() ? u"Button5"_qs : u"Button1"_qs)); // Ok
        QTRY_COMPARE(form->tree->view()->currentItem()->text(0), u"Garden Shed"_qs);
        QVERIFY(stored(count) != before);
        QCOMPARE(form->editMenu->undoAction->text(), named);
        undo();
        QCOMPARE(stored(count), before);
        QCOMPARE(form->tree->selectedNode(),
                 from.isEmpty() ? QString() : form->tree->selectedNode().section(u',', 0, 1));
        redo();
        QVERIFY(stored(count) != before);
        QCOMPARE(form->tree->view()->currentItem()->text(0), u"Garden Shed"_qs);
    }

    void aNoteTypedIsTakenBackAndGivenAgain() {
        const QString count = QStringLiteral("SELECT COUNT(*) FROM Majornotes WHERE "
                                             "Majornotes_note = 'Cement ordered.'");
        clickNode(website + u"/Design"_qs); // no note yet: the first panel is blank
        clickTab(u"Notes"_qs);
        click(form->majorPage->notes->panel(0)->memo()->viewport());
        type(u"Cement ordered."_qs);
        clickTab(visiblePage()->tabText(0)); // leaving the tab stores it
        QCOMPARE(stored(count), u"1"_qs);
        QCOMPARE(form->editMenu->undoAction->text(), u"Undo add of a note"_qs);
        undo();
        QCOMPARE(stored(count), u"0"_qs);
        QCOMPARE(form->tree->view()->currentItem()->text(0), u"Design"_qs);
        redo();
        QCOMPARE(stored(count), u"1"_qs);
    }

    void anUndoOverAnotherInstallationsChangeIsRefused() {
        clickNode(website);
        const QString query = fieldQuery(website, u"Zel_client"_qs);
        change(u"DBEdit5"_qs, u"Acme Stores"_qs);
        stored(QStringLiteral("UPDATE projects SET Zel_client = 'Contoso' WHERE Zel_project = "
                              "'%1'")
                   .arg(website));
        undo();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text,
                 u"Undo typing in Client was refused: another installation changed project "
                 "“Website Relaunch” since: Client now holds “Contoso”. Nothing was "
                 "changed.\n\nThat step has left the history."_qs);
        QCOMPARE(stored(query), u"Contoso"_qs);
        QCOMPARE(form->projectPage->record->client->text(), u"Contoso"_qs);
        QVERIFY(!form->editMenu->undoAction->isEnabled());
    }

    void fiftyEditsAreUndoneAndRedoneInOrder() {
        clickNode(website);
        const QString query = fieldQuery(website, u"Zel_client"_qs);
        QStringList values{stored(query)};
        for (int i = 1; i <= 50; ++i) {
            values << QStringLiteral("Client %1").arg(i);
            change(u"DBEdit5"_qs, values.last());
        }
        QCOMPARE(stored(query), values.last());
        for (int i = 49; i >= 0; --i) {
            undo();
            QCOMPARE(stored(query), values[i]);
        }
        QVERIFY(!form->editMenu->undoAction->isEnabled());
        for (int i = 1; i <= 50; ++i) {
            redo();
            QCOMPARE(stored(query), values[i]);
        }
        QCOMPARE(form->projectPage->record->client->text(), values.last());
    }

    // ------------------------------------------------------------ find

    void findKeepsTheMatchingNodesWithTheirParents() {
        QTreeWidget* tree = form->tree->view();
        const int projects = tree->topLevelItemCount();
        click(tree->viewport(), tree->visualItemRect(tree->topLevelItem(0)).center());
        key(Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(focused()->objectName(), u"TreeFind"_qs);
        type(QString::fromUtf8("RÉVIEW")); // letter case and accents aside
        QTRY_COMPARE(tree->topLevelItemCount(), 1);
        QVERIFY(nodeAt(website + u"/Discovery/Analytics review"_qs));
        QVERIFY(nodeAt(website + u"/Launch/Post-launch review"_qs));
        QVERIFY(!nodeAt(website + u"/Design"_qs));
        QCOMPARE(tree->currentItem(), nodeAt(website + u"/Discovery/Analytics review"_qs));
        QTRY_COMPARE(visiblePage(), form->actionPage);
        key(Qt::Key_Escape);
        QCOMPARE(tree->topLevelItemCount(), projects);
        QVERIFY(!widget(u"TreeFind"_qs));
        QCOMPARE(focused(), tree);
    }

    // ------------------------------------------------------------ room for names

    void theTreesWidthSurvivesARestart() {
        auto* splitter = form->findChild<QSplitter*>(u"TreeSplitter"_qs);
        QVERIFY(splitter);
        const int first = form->treeBox->width();
        QWidget* handle = splitter->handle(1);
        const QPoint grip = handle->rect().center();
        QTest::mousePress(handle, Qt::LeftButton, {}, grip);
        QTest::mouseMove(handle, grip + QPoint(60, 0));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(60, 0));
        QTRY_COMPARE(form->treeBox->width(), first + 60);
        form->close();
        windows = std::make_unique<AppWindows>();
        form = windows->mainWindow.get();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QCOMPARE(form->treeBox->width(), first + 60);
    }
};

QTEST_MAIN(TestUndoJourneys)
#include "tst_undojourneys.moc"

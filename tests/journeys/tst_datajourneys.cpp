// Journeys through what walks or changes the tables behind the main window: reports, previews,
// merges and entry windows, and another installation's change meeting an edit. Each ends with
// an edit on the page and reads back where it was stored.
#include "framework/widgets/dbctrlgrid.h"
#include "framework/widgets/dbedit.h"
#include "framework/widgets/dbmemo.h"
#include "framework/widgets/dbnavigator.h"
#include "journeyfixture.h"
#include "ui/main/detailpage.h"
#include "ui/main/mainwindow.h"
#include "ui/main/recordtab.h"
#include "ui/main/treecontroller.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialog>
#include <QListWidget>
#include <QProcess>
#include <QtTest>

namespace {
const QString website = QStringLiteral("Website Relaunch");
}

class TestDataJourneys : public JourneyFixture {
    Q_OBJECT

    QString projectValue(const QString& project, const QString& field) {
        return stored(
            QStringLiteral("SELECT %1 FROM projects WHERE Zel_project = '%2'").arg(field, project));
    }
    // The clients of every project but one, as stored.
    QString otherClients(const QString& project) {
        return stored(QStringLiteral("SELECT group_concat(Zel_client, '|') FROM projects WHERE "
                                     "Zel_project <> '%1'")
                          .arg(project));
    }
    // Picks an entry of a drop-down list by its text, as a person does.
    void pick(QComboBox* combo, const QString& text) {
        QVERIFY(combo);
        click(combo);
        QAbstractItemView* list = combo->view();
        QTRY_VERIFY(list->isVisible());
        const int row = combo->findText(text);
        QVERIFY2(row >= 0, qPrintable(text));
        click(list->viewport(), list->visualRect(list->model()->index(row, 0)).center());
    }
    QWidget* in(QDialog* dialog, const char* name) {
        return dialog->findChild<QWidget*>(QLatin1String(name));
    }
    // Time sheet and cost rows the page's tabs show for the selected project.
    int shownRows() {
        return form->projectPage->timeSheets->rowCount() + form->projectPage->costs->rowCount();
    }

private Q_SLOTS:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    // ------------------------------------------------------------ dialogs walk their own cursors

    void afterADialogTheNextEditLandsOnTheSelectedNode_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("steps"); // what is done in the dialog
        QTest::newRow("report-then-edit") << "Reports1"
                                          << "PrintPERT1"
                                          << "escape";
        QTest::newRow("preview-then-edit") << "Reports1"
                                           << "PrintPERT1"
                                           << "preview";
        QTest::newRow("project-report-preview-then-edit") << "Reports1"
                                                          << "Format1"
                                                          << "preview";
        QTest::newRow("layout-report-preview-then-edit") << "Reports1"
                                                         << "Print1"
                                                         << "preview";
        QTest::newRow("time-sheet-report-then-edit") << "Reports1"
                                                     << "PrintTimesheetreport1"
                                                     << "preview";
        QTest::newRow("cost-report-then-edit") << "Reports1"
                                               << "PrintCostsreport1"
                                               << "preview";
        QTest::newRow("update-time-sheets-then-edit") << "Timesheetentry1"
                                                      << "UpdateTimeSheets1"
                                                      << "merge";
        QTest::newRow("update-cost-sheets-then-edit") << "CostSheets1"
                                                      << "UpdateCostEntries1"
                                                      << "merge";
        QTest::newRow("time-sheet-entry-then-edit") << "Timesheetentry1"
                                                    << "TimeSheetEntry2"
                                                    << "entry";
        QTest::newRow("cost-entry-then-edit") << "CostSheets1"
                                              << "CostEntry1"
                                              << "entry";
    }
    void afterADialogTheNextEditLandsOnTheSelectedNode() {
        QFETCH(QString, menu);
        QFETCH(QString, item);
        QFETCH(QString, steps);
        clickNode(website);
        clickTab(u"Time Sheets"_qs);
        clickTab(u"Cost entries"_qs);
        clickTab(u"Project"_qs);
        const QString othersBefore = otherClients(website);
        onModal = [&](QDialog* d) {
            if (steps == u"preview"_qs && in(d, "Button2") &&
                d->objectName().startsWith(u"Form"_qs))
                click(in(d, "Button2")); // Preview; the preview itself is closed by Escape
            else if (steps == u"merge"_qs && d->objectName() == u"Form12"_qs) {
                auto* members = d->findChild<QListWidget*>(u"ListBox1"_qs);
                for (int row = 0; row < members->count(); ++row)
                    click(members->viewport(),
                          members->visualItemRect(members->item(row)).center());
                click(in(d, "Button1"));
            } else if (steps == u"merge"_qs && d->objectName() == u"Form19"_qs) {
                click(in(d, "Button1"));
            } else if (steps == u"entry"_qs && d->objectName() == u"Form11"_qs) {
                pick(d->findChild<QComboBox*>(u"MemberName"_qs), u"Ana Morales"_qs);
                click(in(d, "Button1")); // opens the member's entry window
            } else if (steps == u"entry"_qs &&
                       (d->objectName() == u"Form10"_qs || d->objectName() == u"Form18"_qs)) {
                // A new line, named by project, major activity and action from the lists.
                click(d->findChild<vok::DBNavigator*>(u"DBNavigator1"_qs)
                          ->button(vok::DBNavigator::Button::Insert));
                pick(d->findChild<QComboBox*>(u"DBLookupComboBox2"_qs), u"Office Move"_qs);
                click(in(d, "Button1")); // Close
            }
        };
        mainMenu(menu, item);
        QVERIFY2(!modals.isEmpty(), "the dialog showed");
        // The window manager gives the main window back its activation when the dialog goes
        // (the offscreen platform has none to do it).
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));

        // The page still shows the node selected in the tree, its tabs still filled.
        QCOMPARE(form->tree->view()->currentItem()->text(0), website);
        QCOMPARE(form->projectPage->record->name->text(), website);
        clickTab(u"Time Sheets"_qs);
        const int timeSheets = form->projectPage->timeSheets->rowCount();
        clickTab(u"Cost entries"_qs);
        QVERIFY(timeSheets + form->projectPage->costs->rowCount() > 0);
        clickTab(u"Project"_qs);

        click(form->projectPage->record->client);
        retype(u"Typed after the dialog"_qs);
        tab();
        QCOMPARE(projectValue(website, u"Zel_client"_qs), u"Typed after the dialog"_qs);
        QCOMPARE(otherClients(website), othersBefore);
    }

    // ------------------------------------------------------------ another installation's change

    void anEditMeetsAnotherInstallationsChange_data() {
        QTest::addColumn<QString>("theirs");
        QTest::addColumn<QString>("project");
        QTest::newRow("conflict-different-field merged") << "client" << website;
        // The demo's pending time sheet books on this one.
        QTest::newRow("merge-timesheets-then-edit") << "merge"
                                                    << "Riverside Library Renovation";
    }
    void anEditMeetsAnotherInstallationsChange() {
        QFETCH(QString, theirs);
        QFETCH(QString, project);
        clickNode(project);
        const double hoursBefore = projectValue(project, u"Zel_hours"_qs).toDouble();
        click(form->projectPage->record->description);
        key(Qt::Key_End, Qt::ControlModifier);
        type(u" Typed while they worked."_qs);
        const QString typed = form->projectPage->record->description->toPlainText();

        if (theirs == u"client"_qs) {
            stored(QStringLiteral("UPDATE projects SET Zel_client = 'Contoso' WHERE Zel_project "
                                  "= '%1'")
                       .arg(project));
        } else {
            QProcess vokctl;
            vokctl.start(QStringLiteral(VOKCTL_PATH),
                         {u"merge-timesheets"_qs, u"--data"_qs, folder, u"--all"_qs});
            QVERIFY(vokctl.waitForFinished(60000));
            QCOMPARE(vokctl.exitCode(), 0);
            QVERIFY(projectValue(project, u"Zel_hours"_qs).toDouble() > hoursBefore);
        }
        const QString theirsStored = theirs == u"client"_qs
                                         ? projectValue(project, u"Zel_client"_qs)
                                         : projectValue(project, u"Zel_hours"_qs);
        tab();

        // Stored on top of theirs, without a word; the page shows both.
        QCOMPARE(shown.size(), 0);
        QCOMPARE(projectValue(project, u"Zel_description"_qs), typed);
        if (theirs == u"client"_qs) {
            QCOMPARE(projectValue(project, u"Zel_client"_qs), theirsStored);
            QCOMPARE(form->projectPage->record->client->text(), u"Contoso"_qs);
        } else {
            QCOMPARE(projectValue(project, u"Zel_hours"_qs), theirsStored);
        }
    }

    void aFieldBothChangedIsNamedWithBothValuesAndTheTypedTextKept() {
        clickNode(website);
        click(form->projectPage->record->client);
        retype(u"Mine Ltd"_qs);
        stored(QStringLiteral("UPDATE projects SET Zel_client = 'Theirs Inc' WHERE Zel_project = "
                              "'%1'")
                   .arg(website));
        answers << QMessageBox::Yes; // keep what was typed
        tab();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].text.contains(u"Client"_qs) &&
                     shown[0].text.contains(u"\u201cTheirs Inc\u201d"_qs) &&
                     shown[0].text.contains(u"\u201cMine Ltd\u201d"_qs),
                 qPrintable(shown[0].text));
        // Stored over theirs once both were seen; nothing typed lost.
        QCOMPARE(projectValue(website, u"Zel_client"_qs), u"Mine Ltd"_qs);
        QCOMPARE(form->projectPage->record->client->text(), u"Mine Ltd"_qs);
    }
};

QTEST_MAIN(TestDataJourneys)
#include "tst_datajourneys.moc"

// Journeys while another installation works on the same data: what it stores shows in the
// running window by itself, within three seconds and without a key pressed, and never over what
// the user is typing. Every journey runs on each engine.
#include "data/projectdata.h"
#include "framework/dataset/store.h"
#include "framework/widgets/dbctrlgrid.h"
#include "framework/widgets/dbedit.h"
#include "framework/widgets/dbgrid.h"
#include "framework/widgets/dbmemo.h"
#include "framework/widgets/tablemodel.h"
#include "journeyfixture.h"
#include "support/engines.h"
#include "ui/main/detailpage.h"
#include "ui/main/mainwindow.h"
#include "ui/main/recordtab.h"
#include "ui/main/treecontroller.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QLocale>
#include <QProcess>
#include <QScrollBar>
#include <QStatusBar>
#include <QTreeWidget>
#include <QtTest>

namespace {
const QString website = QStringLiteral("Website Relaunch");
// The longest another installation's change may take to show.
constexpr int noticeMs = 3000;
} // namespace

class TestLiveUpdates : public JourneyFixture {
    Q_OBJECT

    void elsewhere(const QString& statement) { stored(statement); }
    QString projectValue(const QString& project, const QString& field) {
        return stored(
            QStringLiteral("SELECT %1 FROM projects WHERE Zel_project = '%2'").arg(field, project));
    }
    QString note() const { return form->statusBar()->currentMessage(); }
    quint64 statements() const { return form->dm()->store->statementsRun(); }
    RecordTab* projectTab() const { return form->projectPage->record; }

private Q_SLOTS:
    void initTestCase_data() { Engines::addRows(); }
    void init() {
        VOK_INIT_ENGINE();
        setUp();
    }
    void cleanup() { tearDown(); }

    void aClientStoredElsewhereShowsWithoutInput() {
        clickNode(website);
        const QString before = projectTab()->client->text();
        QVERIFY(before != u"Contoso"_qs);
        QCOMPARE(note(), QString());
        const quint64 statementsBefore = statements();
        QElapsedTimer clock;
        clock.start();
        elsewhere(QStringLiteral("UPDATE projects SET Zel_client = 'Contoso' WHERE Zel_project = "
                                 "'%1'")
                      .arg(website));
        QTRY_COMPARE_WITH_TIMEOUT(projectTab()->client->text(), u"Contoso"_qs, noticeMs);
        QVERIFY(clock.elapsed() < noticeMs);
        // Said quietly, with the time of the fixed clock in the locale's short format.
        QTRY_COMPARE(note(), u"Updated from another installation at 9:00 AM"_qs);
        QCOMPARE(shown.size(), 0);
        // What shows is read: the projects, each open project's children, the page's record
        // with them; on a server, the counter once.
        int open = 0;
        for (int p = 0; p < form->tree->view()->topLevelItemCount(); ++p)
            open += form->tree->view()->topLevelItem(p)->isExpanded() ? 1 : 0;
        const quint64 cost = statements() - statementsBefore;
        qInfo("%s: reading again cost %llu statements, %d projects open",
              qPrintable(Engines::current()), cost, open);
        QVERIFY(cost <= static_cast<quint64>(1 + 2 * open + (Engines::isServer() ? 1 : 0)));
        // The page stays on its node and tab, and the next edit lands there.
        QCOMPARE(form->tree->view()->currentItem()->text(0), website);
        QCOMPARE(visiblePage()->currentIndex(), 0);
        click(projectTab()->client);
        retype(u"Contoso Ltd"_qs);
        tab();
        QCOMPARE(projectValue(website, u"Zel_client"_qs), u"Contoso Ltd"_qs);

        // Nothing changes: watching costs no statement on the data.
        const quint64 idle = statements();
        QTest::qWait(2500);
        QCOMPARE(statements(), idle);
    }

    void theTreeShowsProjectsAndChildrenOthersAddRenameAndDelete_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("appears"); // a node's path, after
        QTest::addColumn<QString>("goes");    // a node's path, gone after
        QTest::newRow("project added")
            << "INSERT INTO projects (Zel_project) VALUES ('Harbour Bridge')"
            << "Harbour Bridge"
            << "";
        QTest::newRow("project renamed")
            << "UPDATE projects SET Zel_project = 'Office Move East' WHERE Zel_project = "
               "'Office Move'"
            << "Office Move East"
            << "Office Move";
        QTest::newRow("project deleted") << "DELETE FROM projects WHERE Zel_project = 'Office Move'"
                                         << ""
                                         << "Office Move";
        QTest::newRow("major activity added to the open project")
            << "INSERT INTO major (Major_project_id, Major_item) SELECT Zel_Project_id, 'Go-live "
               "Review' "
               "FROM projects WHERE Zel_project = 'Website Relaunch'"
            << website + u"/Go-live Review"_qs << "";
        QTest::newRow("major activity renamed")
            << "UPDATE major SET Major_item = 'Visual Design' WHERE Major_item = 'Design'"
            << website + u"/Visual Design"_qs << website + u"/Design"_qs;
    }
    void theTreeShowsProjectsAndChildrenOthersAddRenameAndDelete() {
        QFETCH(QString, change);
        QFETCH(QString, appears);
        QFETCH(QString, goes);
        clickNode(website + u"/Build"_qs);
        QTreeWidget* tree = form->tree->view();
        const int scrolled = tree->verticalScrollBar()->value();
        const bool websiteOpen = nodeAt(website)->isExpanded();
        elsewhere(change);
        if (!appears.isEmpty())
            QTRY_VERIFY_WITH_TIMEOUT(nodeAt(appears), noticeMs);
        if (!goes.isEmpty())
            QTRY_VERIFY_WITH_TIMEOUT(!nodeAt(goes), noticeMs);
        QTRY_VERIFY(!note().isEmpty());
        QCOMPARE(shown.size(), 0);
        // The selection, the page, the open nodes and the scroll position are as they were.
        QCOMPARE(tree->currentItem(), nodeAt(website + u"/Build"_qs));
        QCOMPARE(visiblePage(), form->majorPage);
        QCOMPARE(form->majorPage->record->name->text(), u"Build"_qs);
        QCOMPARE(nodeAt(website)->isExpanded(), websiteOpen);
        QCOMPARE(tree->verticalScrollBar()->value(), scrolled);
        // The window knows the new node as it knows the others.
        if (!appears.isEmpty()) {
            clickNode(appears);
            QCOMPARE(visiblePage()->widget(0)->findChild<vok::DBEdit*>()->text(),
                     appears.section(QLatin1Char('/'), -1));
            QCOMPARE(shown.size(), 0);
        }
    }

    void theListOnTheTabInFrontShowsRowsOthersAdd_data() {
        QTest::addColumn<QString>("tab");
        QTest::addColumn<QString>("change");
        QTest::newRow("team") << "Team Members"
                              << "INSERT INTO ProjectTeam (ProjectTeam_project_id, "
                                 "ProjectTeam_member) SELECT Zel_Project_id, 'Ana Morales' FROM "
                                 "projects WHERE Zel_project = 'Website Relaunch'";
        QTest::newRow("notes") << "Notes"
                               << "INSERT INTO Projectnotes (Projectnotes_project_id, "
                                  "Projectnotes_note) SELECT Zel_Project_id, 'Crane booked.' FROM "
                                  "projects WHERE Zel_project = 'Website Relaunch'";
        QTest::newRow("contacts") << "Contacts"
                                  << "INSERT INTO ProjectContact (ProjectContact_project_id, "
                                     "ProjectContact_name) SELECT Zel_Project_id, 'Lee Park' FROM "
                                     "projects WHERE Zel_project = 'Website Relaunch'";
        // A merge's lines as another installation stores them.
        QTest::newRow("time sheets")
            << "Time Sheets"
            << "INSERT INTO ProjectTS (ProjectTS_project_id, ProjectTS_major_id, "
               "ProjectTS_action_id, ProjectTS_member, ProjectTS_hours) SELECT Zel_Project_id, 0, "
               "0, 'Ana Morales', 3 FROM projects WHERE Zel_project = 'Website Relaunch'";
        QTest::newRow("costs")
            << "Cost entries"
            << "INSERT INTO ProjectCost (ProjectCost_project_id, "
               "ProjectCost_major_id, ProjectCost_action_id, ProjectCost_Amount) "
               "SELECT Zel_Project_id, 0, 0, 120 FROM projects WHERE "
               "Zel_project = 'Website Relaunch'";
    }
    void theListOnTheTabInFrontShowsRowsOthersAdd() {
        QFETCH(QString, tab);
        QFETCH(QString, change);
        clickNode(website);
        clickTab(tab);
        DetailPage* page = form->projectPage;
        const auto rows = [&] {
            if (tab == u"Team Members"_qs)
                return page->team->tableModel()->rowCount();
            if (tab == u"Time Sheets"_qs)
                return page->timeSheets->rowCount();
            if (tab == u"Cost entries"_qs)
                return page->costs->rowCount();
            return (tab == u"Notes"_qs ? page->notes : page->contacts)->rowCount();
        };
        const int before = rows();
        elsewhere(change);
        QTRY_COMPARE_WITH_TIMEOUT(rows(), before + 1, noticeMs);
        QCOMPARE(visiblePage()->tabText(visiblePage()->currentIndex()), tab);
        QCOMPARE(shown.size(), 0);
    }

    void theShownNodeDeletedElsewhereIsSaidAndThePageMovesToItsParent() {
        clickNode(website + u"/Design"_qs);
        elsewhere(u"DELETE FROM major WHERE Major_item = 'Design'"_qs);
        QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 1, noticeMs);
        QCOMPARE(shown[0].text,
                 u"\"Design\" is no longer stored: another installation deleted it."_qs);
        QVERIFY(!nodeAt(website + u"/Design"_qs));
        QCOMPARE(form->tree->view()->currentItem(), nodeAt(website));
        QTRY_COMPARE(visiblePage(), form->projectPage);
        QCOMPARE(projectTab()->name->text(), website);
    }

    void typingInObjectivesWhileAnotherStoresTheClientKeepsBoth() {
        clickNode(website);
        click(projectTab()->description);
        key(Qt::Key_End, Qt::ControlModifier);
        type(u" Typed while they worked."_qs);
        elsewhere(QStringLiteral("UPDATE projects SET Zel_client = 'Contoso' WHERE Zel_project = "
                                 "'%1'")
                      .arg(website));
        // The field left alone shows theirs; the one being typed into keeps its text.
        QTRY_COMPARE_WITH_TIMEOUT(projectTab()->client->text(), u"Contoso"_qs, noticeMs);
        QVERIFY(projectTab()->description->toPlainText().endsWith(u" Typed while they worked."_qs));
        QCOMPARE(focused(), projectTab()->description);
        type(u" And more."_qs);
        const QString typed = projectTab()->description->toPlainText();
        // Nothing was stored under the user's hands.
        QVERIFY(projectValue(website, u"Zel_description"_qs) != typed);
        tab();
        QCOMPARE(shown.size(), 0);
        QCOMPARE(projectValue(website, u"Zel_description"_qs), typed);
        QCOMPARE(projectValue(website, u"Zel_client"_qs), u"Contoso"_qs);
    }

    void aMergeByAnotherInstallationRaisesActualHoursOnThePage() {
        const QString project = QStringLiteral("Riverside Library Renovation");
        clickNode(project);
        const double before = QLocale().toDouble(projectTab()->hours->text());
        QProcess vokctl;
        vokctl.start(QStringLiteral(VOKCTL_PATH),
                     {u"merge-timesheets"_qs, u"--data"_qs, folder, u"--all"_qs});
        QVERIFY(vokctl.waitForFinished(60000));
        QCOMPARE(vokctl.exitCode(), 0);
        const double after = projectValue(project, u"Zel_hours"_qs).toDouble();
        QVERIFY(after > before);
        QTRY_COMPARE_WITH_TIMEOUT(QLocale().toDouble(projectTab()->hours->text()), after, noticeMs);
    }

    void anOpenDialogIsNotDisturbedAndTheWindowCatchesUpWhenItCloses() {
        clickNode(website);
        const QString before = projectTab()->client->text();
        bool unchangedWhileOpen = false;
        onModal = [&](QDialog*) {
            elsewhere(QStringLiteral("UPDATE projects SET Zel_client = 'Contoso' WHERE "
                                     "Zel_project = '%1'")
                          .arg(website));
            QTest::qWait(2000);
            unchangedWhileOpen = projectTab()->client->text() == before && note().isEmpty();
        };
        mainMenu(u"Memberslist1"_qs);
        QTRY_VERIFY(modals.contains(u"Form3"_qs));
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QVERIFY(unchangedWhileOpen);
        QTRY_COMPARE_WITH_TIMEOUT(projectTab()->client->text(), u"Contoso"_qs, noticeMs);
    }
};

QTEST_MAIN(TestLiveUpdates)
#include "tst_liveupdates.moc"

// Member time-sheet files, their merge into the project time sheet table, the entry and update
// windows and vokctl merge-timesheets, against real data folders.
#include "framework/dataset/databaseerror.h"
#include "framework/dataset/store.h"
#include "framework/dataset/transaction.h"
#include "framework/ui/messages.h"
#include "framework/ui/modal.h"
#include "framework/widgets/dbctrlgrid.h"
#include "framework/widgets/dbdateedit.h"
#include "framework/widgets/dbedit.h"
#include "framework/widgets/dblookupcombobox.h"
#include "framework/widgets/dbmemo.h"
#include "mergefixture.h"
#include "support/engines.h"
#include "timesheets/memberfile.h"
#include "timesheets/memberpickdialog.h"
#include "timesheets/namelookup.h"
#include "timesheets/timesheetentrywindow.h"
#include "timesheets/timesheetmerge.h"
#include "timesheets/timesheetupdatedialog.h"
#include "ui/main/detailpage.h"
#include "ui/main/recordtab.h"
#include "ui/main/treecontroller.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QMetaEnum>
#include <QProcess>
#include <QPushButton>
#include <QSqlQuery>
#include <QToolButton>
#include <QtTest>

using vok::DBNavigator;
using vok::Messages;

namespace {

const QString crewFile = QStringLiteral("Site Crew.db");

QStringList folderFiles(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

} // namespace

class TestTimeSheets : public QObject {
    Q_OBJECT

    std::unique_ptr<MergeFixture> fx;
    QList<Messages::Request> shown;
    QMessageBox::StandardButton answer = QMessageBox::Ok; // to every message
    QList<QDialog*> modals;                               // windows shown modally, in order

    ProjectData& dm() { return fx->dm(); }

    MergeReport merge(const QStringList& members, const std::function<void(int)>& afterLine = {}) {
        TimeSheetMerge m(dm());
        m.afterLine = afterLine;
        return m.run(members);
    }

    // A file that cannot be merged: the failure comes after `line` lines.
    static std::function<void(int)> failAt(int line) {
        return [line](int done) {
            if (done == line)
                throw vok::DatabaseError(QStringLiteral("disk unplugged"));
        };
    }

    QStringList attachedFiles() {
        if (Engines::isServer())
            return {QStringLiteral("main")}; // sheets are tables of the one database there
        QSqlQuery q = dm().store->exec(QStringLiteral("PRAGMA database_list"));
        QStringList out;
        while (q.next())
            out << q.value(1).toString();
        return out;
    }

private Q_SLOTS:
    void initTestCase_data() { Engines::addRows(); }

    void init() {
        VOK_INIT_ENGINE();
        fx = std::make_unique<MergeFixture>();
        shown.clear();
        modals.clear();
        answer = QMessageBox::Ok;
        Messages::setHandler([this](const Messages::Request& r) {
            shown << r;
            return answer;
        });
        vok::Modal::setHandler([this](QDialog* d) {
            modals << d;
            return int(QDialog::Accepted);
        });
    }

    void cleanup() {
        vok::Modal::setHandler({});
        Messages::setHandler({});
        fx.reset();
    }

    // ------------------------------------------------------------ the merge

    void mergeResolvesNamesAndRaisesTotals_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("changes");
        QTest::addColumn<QStringList>("notFound");
        QTest::newRow("project, major activity and action level")
            << QStringList{"Bridge|||2", "Bridge|Design||3", "Bridge|Design|Drawings|5"}
            << QStringList{"1,0,0", "1,1,0", "1,1,2"} << "A2+5 M1+8 P1+10" << QStringList{};
        QTest::newRow("unknown project gives 0 and no total, counted by line")
            << QStringList{"Nowhere|Design|Survey|4", "Nowhere|||1"}
            << QStringList{"0,0,0", "0,0,0"} << "" << QStringList{"project \"Nowhere\": 2"};
        QTest::newRow("unknown major activity: its action is not looked up elsewhere")
            << QStringList{"Bridge|Nope|Survey|2"} << QStringList{"1,0,0"} << "P1+2"
            << QStringList{"major activity \"Nope\" of project \"Bridge\": 1"};
        QTest::newRow("unknown action")
            << QStringList{"Bridge|Build|Paint|1"} << QStringList{"1,2,0"} << "M2+1 P1+1"
            << QStringList{"action \"Paint\" of major activity \"Build\" of project \"Bridge\": 1"};
        QTest::newRow("major activity name of two projects resolves within the line's project")
            << QStringList{"Bridge|Design||1", "Tunnel|Design|Survey|3"}
            << QStringList{"1,1,0", "2,3,4"} << "A4+3 M1+1 M3+3 P1+1 P2+3" << QStringList{};
        QTest::newRow("action name of two major activities resolves within the line's")
            << QStringList{"Bridge|Build|Survey|1.5"} << QStringList{"1,2,3"}
            << "A3+1.5 M2+1.5 P1+1.5" << QStringList{};
        QTest::newRow("two projects of one name: the first gets the row")
            << QStringList{"Twin|Plan|Kickoff|2"} << QStringList{"3,4,5"} << "A5+2 M4+2 P3+2"
            << QStringList{};
        QTest::newRow("names match exactly")
            << QStringList{"bridge|||1", "Bridge |||1", "Bridge|design||1"}
            << QStringList{"0,0,0", "0,0,0", "1,0,0"} << "P1+1"
            << QStringList{"project \"bridge\": 1", "project \"Bridge \": 1",
                           "major activity \"design\" of project \"Bridge\": 1"};
        QTest::newRow("an action without its major activity books on the project")
            << QStringList{"Bridge||Survey|1"} << QStringList{"1,0,0"} << "P1+1" << QStringList{};
        QTest::newRow("lines on one record add up")
            << QStringList{"Bridge|Design|Survey|1", "Bridge|Design|Survey|2.25"}
            << QStringList{"1,1,1", "1,1,1"} << "A1+3.25 M1+3.25 P1+3.25" << QStringList{};
        QTest::newRow("empty file") << QStringList{} << QStringList{} << "" << QStringList{};
    }
    void mergeResolvesNamesAndRaisesTotals() {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, rows);
        QFETCH(QString, changes);
        QFETCH(QStringList, notFound);
        fx->writeMemberLines(crewFile, MergeFixture::parse(lines));
        const auto before = fx->totals(QStringLiteral("hours"));
        const auto costsBefore = fx->totals(QStringLiteral("costs"));

        const MergeReport report = merge({QStringLiteral("Site Crew")});

        QCOMPARE(report.lines, lines.size());
        QStringList found;
        for (const MergeReport::NotFound& n : report.notFound)
            found << QStringLiteral("%1: %2").arg(n.what).arg(n.lines);
        QCOMPARE(found, notFound);
        QCOMPARE(fx->rowNumbers(QStringLiteral("ProjectTS")), rows);
        QCOMPARE(MergeFixture::changes(before, fx->totals(QStringLiteral("hours"))), changes);
        QCOMPARE(fx->totals(QStringLiteral("costs")), costsBefore);
        QCOMPARE(fx->memberLines(crewFile), 0);
        QVERIFY(dm().store->fileExists(crewFile)); // emptied, not removed
        QVERIFY(!dm().MemberTS->isActive());
        QVERIFY(!dm().TimeSheets->isActive());
    }

    void rowCarriesTheLineAndTheListedName_data() {
        QTest::addColumn<QString>("listed");
        QTest::addColumn<QString>("file");
        QTest::newRow("plain name") << "Site Crew"
                                    << "Site Crew.db";
        QTest::newRow("leading blank: trimmed file, untrimmed rows") << " Crew"
                                                                     << "Crew.db";
    }
    void rowCarriesTheLineAndTheListedName() {
        QFETCH(QString, listed);
        QFETCH(QString, file);
        EntryLine line;
        line.project = QStringLiteral("Bridge");
        line.from = QStringLiteral("2024-02-05");
        line.to = QStringLiteral("2024-02-07");
        line.quantity = 7.5;
        line.notes = QStringLiteral("Pouring the deck");
        fx->writeMemberLines(file, {line});
        QCOMPARE(merge({listed}).lines, 1);
        QCOMPARE(fx->value(QStringLiteral(
                     "SELECT ProjectTS_member || '/' || ProjectTS_date_from || '/' || "
                     "ProjectTS_date_to || '/' || ProjectTS_hours || '/' || ProjectTS_Notes FROM "
                     "ProjectTS")),
                 listed + QStringLiteral("/2024-02-05/2024-02-07/7.5/Pouring the deck"));
        QCOMPARE(fx->memberLines(file), 0);
    }

    void emptyHoursAndClearedDatesCountAsZero() {
        EntryLine line;
        line.project = QStringLiteral("Tunnel");
        line.from = QVariant();
        line.to = QVariant();
        fx->writeMemberLines(crewFile, {line});
        const auto before = fx->totals(QStringLiteral("hours"));
        merge({QStringLiteral("Site Crew")});
        QCOMPARE(fx->value(QStringLiteral("SELECT ProjectTS_hours FROM ProjectTS")).toDouble(),
                 0.0);
        QCOMPARE(fx->value(QStringLiteral(
                     "SELECT ProjectTS_date_from || '/' || ProjectTS_date_to FROM ProjectTS")),
                 QStringLiteral("1899-12-30/1899-12-30"));
        // The empty total of Tunnel now holds 0.
        QCOMPARE(MergeFixture::changes(before, fx->totals(QStringLiteral("hours"))),
                 QStringLiteral("P2+0"));
    }

    void secondUpdateMergesNothing() {
        fx->writeMemberLines(crewFile, MergeFixture::parse({"Bridge|Design|Survey|4"}));
        QCOMPARE(merge({QStringLiteral("Site Crew")}).lines, 1);
        const auto before = fx->totals(QStringLiteral("hours"));
        const MergeReport again = merge({QStringLiteral("Site Crew")});
        QCOMPARE(again.lines, 0);
        QCOMPARE(again.sources, 1);
        QCOMPARE(fx->rowNumbers(QStringLiteral("ProjectTS")).size(), 1);
        QCOMPARE(fx->totals(QStringLiteral("hours")), before);
    }

    void failureLeavesEverythingAsItWas_data() {
        QTest::addColumn<int>("failAfter");
        QTest::newRow("after the first line") << 1;
        QTest::newRow("in the middle") << 2;
        QTest::newRow("after the last line, before the lines go") << 3;
    }
    void failureLeavesEverythingAsItWas() {
        QFETCH(int, failAfter);
        const QStringList lines{"Bridge|||2", "Bridge|Design||3", "Bridge|Design|Drawings|5"};
        fx->writeMemberLines(crewFile, MergeFixture::parse(lines));
        const auto before = fx->totals(QStringLiteral("hours"));

        const MergeReport failed = merge({QStringLiteral("Site Crew")}, failAt(failAfter));
        QCOMPARE(failed.lines, 0);
        QCOMPARE(failed.skipped.size(), 1);
        QCOMPARE(failed.skipped[0].source, crewFile);
        QCOMPARE(failed.skipped[0].reason, QStringLiteral("disk unplugged"));

        QCOMPARE(fx->rowNumbers(QStringLiteral("ProjectTS")), QStringList{});
        QCOMPARE(fx->totals(QStringLiteral("hours")), before);
        QCOMPARE(fx->memberLines(crewFile), 3);
        // The file is closed again: another member's file can be opened.
        QVERIFY(!dm().MemberTS->isActive());
        QCOMPARE(attachedFiles(), QStringList{QStringLiteral("main")});
        // What the record-sets show was undone with the rest.
        dm().projects->locate(QStringLiteral("Zel_project"), QStringLiteral("Bridge"));
        QCOMPARE(dm().projects->fieldByName(QStringLiteral("Zel_hours")).asFloat(), 100.0);

        // The rerun merges each line exactly once.
        QCOMPARE(merge({QStringLiteral("Site Crew")}).lines, 3);
        QCOMPARE(fx->rowNumbers(QStringLiteral("ProjectTS")),
                 (QStringList{"1,0,0", "1,1,0", "1,1,2"}));
        QCOMPARE(MergeFixture::changes(before, fx->totals(QStringLiteral("hours"))),
                 QStringLiteral("A2+5 M1+8 P1+10"));
    }

    void failingMemberKeepsTheOthersMerged() {
        fx->writeMemberLines(crewFile, MergeFixture::parse({"Bridge|||1"}));
        fx->writeMemberLines(QStringLiteral("Crew.db"), MergeFixture::parse({"Tunnel|||2"}));
        int lines = 0;
        const auto failInSecondFile = [&](int) {
            if (++lines == 2)
                throw vok::DatabaseError(QStringLiteral("locked"));
        };
        const MergeReport report =
            merge({QStringLiteral("Site Crew"), QStringLiteral(" Crew")}, failInSecondFile);
        QCOMPARE(report.lines, 1);
        QCOMPARE(report.skipped.size(), 1);
        QCOMPARE(report.skippedText(QStringLiteral("time sheets")),
                 QStringLiteral("1 of the time sheets was not merged; it and the totals are "
                                "unchanged:\n  Crew.db: locked"));
        QCOMPARE(fx->rowNumbers(QStringLiteral("ProjectTS")), QStringList{"1,0,0"});
        QCOMPARE(fx->memberLines(crewFile), 0);
        QCOMPARE(fx->memberLines(QStringLiteral("Crew.db")), 1);
    }

    // A value the merge would read as 0 hours or 30 December 1899 (or a number too large to add
    // up) keeps the whole file out of the merge; the message names the file, line and column.
    void unreadableValueLeavesTheFileUnmerged_data() {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("says");
        const QString hours = QStringLiteral("column \"Hours\" (MemberTS_Hours): ");
        const QString from = QStringLiteral("column \"Date from\" (MemberTS_Date_from): ");
        const QString to = QStringLiteral("column \"Date to\" (MemberTS_Date_to): ");
        QTest::newRow("hours: words")
            << "hours" << QVariant(QStringLiteral("abc")) << hours + "'abc' is not a number.";
        QTest::newRow("hours: decimal comma")
            << "hours" << QVariant(QStringLiteral("7,5")) << hours + "'7,5' is not a number.";
        QTest::newRow("hours: NaN")
            << "hours" << QVariant(QStringLiteral("NaN")) << hours + "'NaN' is not a number.";
        QTest::newRow("hours: infinity")
            << "hours" << QVariant(qInf()) << hours + "inf is not a number.";
        QTest::newRow("hours: minus infinity")
            << "hours" << QVariant(QStringLiteral("-inf")) << hours + "'-inf' is not a number.";
        QTest::newRow("hours: 1e308")
            << "hours" << QVariant(1e308) << hours + "1e+308 is too large a number.";
        QTest::newRow("date from: words")
            << "from" << QVariant(QStringLiteral("Monday")) << from + "'Monday' is not a date.";
        QTest::newRow("date from: 30 February") << "from" << QVariant(QStringLiteral("2024-02-30"))
                                                << from + "'2024-02-30' is not a date.";
        QTest::newRow("date to: a short date as text")
            << "to" << QVariant(QStringLiteral("02/05/2024")) << to + "'02/05/2024' is not a date.";
        QTest::newRow("date to: a day number")
            << "to" << QVariant(45000) << to + "45000 is not a date.";
        QTest::newRow("date to: more after the date")
            << "to" << QVariant(QStringLiteral("2024-02-05 noon"))
            << to + "'2024-02-05 noon' is not a date.";
    }
    void unreadableValueLeavesTheFileUnmerged() {
        VOK_FOLDER_ONLY("the server refuses such a value when it is written");
        QFETCH(QString, column);
        QFETCH(QVariant, stored);
        QFETCH(QString, says);
        QList<EntryLine> lines =
            MergeFixture::parse({"Bridge|||1", "Bridge|Design||2", "Tunnel|||3"});
        EntryLine& bad = lines[1];
        (column == QLatin1String("hours")  ? bad.quantity
         : column == QLatin1String("from") ? bad.from
                                           : bad.to) = stored;
        fx->writeMemberLines(crewFile, lines);
        fx->writeMemberLines(QStringLiteral("Crew.db"), MergeFixture::parse({"Tunnel|||5"}));
        const auto before = fx->totals(QStringLiteral("hours"));

        const MergeReport report = merge({QStringLiteral("Site Crew"), QStringLiteral(" Crew")});

        QCOMPARE(report.lines, 1); // Crew's line
        QCOMPARE(report.skipped.size(), 1);
        QCOMPARE(report.skipped[0].reason, QStringLiteral("Site Crew.db, line 2, ") + says);
        QCOMPARE(fx->rowNumbers(QStringLiteral("ProjectTS")), QStringList{"2,0,0"});
        QCOMPARE(MergeFixture::changes(before, fx->totals(QStringLiteral("hours"))),
                 QStringLiteral("P2+5"));
        QCOMPARE(fx->memberLines(crewFile), 3);
    }

    void membersThatCannotBeMergedAreSkipped_data() {
        QTest::addColumn<QString>("member");
        QTest::addColumn<QString>("reason"); // empty: no file, nothing to merge
        QTest::newRow("no file") << "Ana Morales"
                                 << "";
        QTest::newRow("a path out of the data folder") << "../outside"
                                                       << "cannot name";
        QTest::newRow("the name of a shared table") << "projects"
                                                    << "shared table";
        QTest::newRow("a name the engine keeps") << "sqlite_sequence"
                                                 << "sqlite_";
        QTest::newRow("a file that is no database") << "Junk"
                                                    << "Junk.db cannot be opened as a time sheet";
    }
    void membersThatCannotBeMergedAreSkipped() {
        QFETCH(QString, member);
        QFETCH(QString, reason);
        // A time sheet lying beside the data folder must not be reached through a member name.
        fx->writeMemberLines(crewFile, MergeFixture::parse({"Bridge|||1"}));
        if (QByteArray(QTest::currentDataTag()) == "a file that is no database")
            VOK_FOLDER_ONLY("a file of the data folder");
        if (!Engines::isServer()) {
            QVERIFY(QFile::copy(QDir(fx->folder()).filePath(crewFile),
                                QDir(fx->folder()).filePath(QStringLiteral("../outside.db"))));
            QFile junk(QDir(fx->folder()).filePath(QStringLiteral("Junk.db")));
            QVERIFY(junk.open(QIODevice::WriteOnly));
            junk.write(QByteArray(4096, 'x'));
            junk.close();
        }
        const MergeReport report = merge({member});
        QCOMPARE(report.lines, 0);
        QCOMPARE(report.withoutFile, reason.isEmpty() ? QStringList{member} : QStringList{});
        QCOMPARE(report.skipped.size(), reason.isEmpty() ? 0 : 1);
        const QString text = report.skippedText(QStringLiteral("time sheets"));
        QVERIFY2(text.contains(reason), qPrintable(text));
        QCOMPARE(fx->rowNumbers(QStringLiteral("ProjectTS")), QStringList{});
        QCOMPARE(fx->memberLines(crewFile), 1);
        if (!Engines::isServer()) // the folder's own numbering table is left alone
            QCOMPARE(fx->value(QStringLiteral("SELECT COUNT(*) FROM sqlite_sequence")).toInt() > 0,
                     true);
    }

    void stoppingBetweenMembersKeepsWhatWasMerged() {
        fx->writeMemberLines(crewFile, MergeFixture::parse({"Bridge|||1"}));
        fx->writeMemberLines(QStringLiteral("Crew.db"), MergeFixture::parse({"Tunnel|||2"}));
        TimeSheetMerge m(dm());
        QList<int> asked;
        m.beforeMember = [&](int index, int count) {
            asked << index << count;
            return index == 0;
        };
        const MergeReport report = m.run({QStringLiteral("Site Crew"), QStringLiteral(" Crew")});
        QVERIFY(report.cancelled);
        QCOMPARE(report.lines, 1);
        QCOMPARE(asked, (QList<int>{0, 2, 1, 2}));
        QCOMPARE(fx->memberLines(QStringLiteral("Crew.db")), 1);
    }

    // Here the entry window has read Site Crew's lines; another installation merges them; this
    // installation's update must find them gone rather than merge them a second time.
    void linesMergedByAnotherInstallationAreNotMergedAgain() {
        fx->writeMemberLines(crewFile, MergeFixture::parse({"Bridge|||1", "Tunnel|||2"}));
        TimeSheetEntryWindow entryWindow(&dm());
        dm().MemberTS->setTableName(crewFile);
        entryWindow.show();
        QVERIFY(QTest::qWaitForWindowActive(&entryWindow));
        QTest::mouseClick(entryWindow.navigator->button(DBNavigator::Button::Last), Qt::LeftButton);

        const auto before = fx->totals(QStringLiteral("hours"));
        QCOMPARE(TimeSheetMerge(*fx->otherInstallation()).run({QStringLiteral("Site Crew")}).lines,
                 2);
        QCOMPARE(merge({QStringLiteral("Site Crew")}).lines, 0);

        QCOMPARE(fx->rowNumbers(QStringLiteral("ProjectTS")), (QStringList{"1,0,0", "2,0,0"}));
        QCOMPARE(MergeFixture::changes(before, fx->totals(QStringLiteral("hours"))),
                 QStringLiteral("P1+1 P2+2"));
    }

    void anotherMachinesMergeIsNotLost() {
        fx->writeMemberLines(crewFile, MergeFixture::parse({"Bridge|Design|Survey|4"}));
        dm().projects->first(); // this machine has read Bridge's totals
        QCOMPARE(dm().projects->fieldByName(QStringLiteral("Zel_hours")).asFloat(), 100.0);
        {
            vok::Store other; // another machine on the same folder
            other.setParams({QStringLiteral("path=") + fx->folder()});
            other.exec(QStringLiteral("UPDATE projects SET Zel_hours = Zel_hours + 20 WHERE "
                                      "Zel_Project_id = 1"));
            other.exec(QStringLiteral("UPDATE action SET Action_hours = Action_hours + 20 WHERE "
                                      "Action_id = 1"));
        }
        merge({QStringLiteral("Site Crew")});
        QCOMPARE(
            fx->value(QStringLiteral("SELECT Zel_hours FROM projects WHERE Zel_Project_id = 1")),
            QStringLiteral("124"));
        QCOMPARE(fx->value(QStringLiteral("SELECT Action_hours FROM action WHERE Action_id = 1")),
                 QStringLiteral("25"));
    }

    void openViewsShowTheNewRowsAndTotals() {
        fx->writeMemberLines(crewFile, MergeFixture::parse({"Bridge|Design||6"}));
        // The main window's project page: its time sheet tab and its "Actual hours".
        dm().ProjectTS->open();
        dm().projects->first();
        QCOMPARE(dm().ProjectTS->recordCount(), 0);
        QWidget page;
        auto* hours = new vok::DBEdit(&page);
        hours->setDataSource(dm().projects, QStringLiteral("Zel_hours"));
        page.show();
        QCOMPARE(hours->text(), QStringLiteral("100"));

        merge({QStringLiteral("Site Crew")});
        dm().projects->locate(QStringLiteral("Zel_project"), QStringLiteral("Bridge"));
        QCOMPARE(dm().ProjectTS->recordCount(), 1);
        QCOMPARE(dm().ProjectTS->fieldByName(QStringLiteral("MajorName")).asString(),
                 QStringLiteral("Design"));
        QCOMPARE(hours->text(), QStringLiteral("106"));
    }

    // The merge walks record-sets of its own: the working ones stay on their record and show the
    // new rows and hours, and a change typed there meanwhile is stored with the merged hours.
    void mergeLeavesTheWorkingRecordSetsInPlace() {
        fx->writeMemberLines(crewFile, MergeFixture::parse({"Bridge|Design||6", "Tunnel|||2"}));
        vok::Table& projects = *dm().projects;
        dm().ProjectTS->open();
        QVERIFY(projects.locate(QStringLiteral("Zel_project"), QStringLiteral("Bridge")));
        projects.edit();
        projects.fieldByName(QStringLiteral("Zel_description"))
            .setAsString(QStringLiteral("Typed"));

        QCOMPARE(TimeSheetMerge(dm().walks()).run({QStringLiteral("Site Crew")}).lines, 2);
        QCOMPARE(projects.state(), vok::Table::State::Edit);
        QCOMPARE(projects.fieldByName(QStringLiteral("Zel_project")).asString(),
                 QStringLiteral("Bridge"));
        QCOMPARE(dm().ProjectTS->recordCount(), 1);
        projects.post();
        QCOMPARE(projects.fieldByName(QStringLiteral("Zel_hours")).asFloat(), 106.0);
        const QString bridge = QStringLiteral(" FROM projects WHERE Zel_Project_id = 1");
        QCOMPARE(fx->value(QStringLiteral("SELECT Zel_hours") + bridge), QStringLiteral("106"));
        QCOMPARE(fx->value(QStringLiteral("SELECT Zel_description") + bridge),
                 QStringLiteral("Typed"));
    }

    void mainWindowShowsTheMergedRowsAndHours() {
        fx->writeMemberLines(crewFile, MergeFixture::parse({"Bridge|Design||6", "Bridge|||1.5"}));
        MergeFixture::OpenWindow main = fx->openMainWindow();
        MainWindow& form = *main.form;
        QVERIFY(form.tree->selectNode(QStringLiteral("1")));
        QCOMPARE(form.projectPage->record->hours->text(), QStringLiteral("100"));
        form.projectPage->setCurrentWidget(form.projectPage->timeSheetTab);
        QCOMPARE(form.projectPage->timeSheets->rowCount(), 0);

        TimeSheetUpdateDialog timeSheetUpdate(
            &main.dm->walks()); // as Vok makes it: the page stays where it is
        QAction menuItem;
        timeSheetUpdate.connectMenu(&menuItem);
        vok::Modal::setHandler([&](QDialog*) {
            timeSheetUpdate.memberList->item(0)->setSelected(true); // Site Crew
            timeSheetUpdate.updateClicked();
            return timeSheetUpdate.result();
        });
        menuItem.trigger();

        QCOMPARE(form.projectPage->timeSheets->rowCount(), 2);
        form.projectPage->setCurrentWidget(form.projectPage->record);
        QCOMPARE(form.projectPage->record->hours->text(), QStringLiteral("107.5"));
    }

    // ------------------------------------------------------------ member files

    void memberNamesNameFiles_data() {
        QTest::addColumn<QString>("member");
        QTest::addColumn<QString>("file"); // empty: refused
        QTest::newRow("plain") << "Site Crew"
                               << "Site Crew.db";
        QTest::newRow("blanks around") << "  Site Crew "
                                       << "Site Crew.db";
        QTest::newRow("control characters around") << "\tSite Crew\r\n"
                                                   << "Site Crew.db";
        QTest::newRow("accented") << QString::fromUtf8("Chloé Martin")
                                  << QString::fromUtf8("Chloé Martin.db");
        QTest::newRow("dots inside") << "J. R. Smith"
                                     << "J. R. Smith.db";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("blanks only") << "   "
                                     << "";
        QTest::newRow("slash") << "Site/Crew"
                               << "";
        QTest::newRow("backslash") << "Site\\Crew"
                                   << "";
        QTest::newRow("parent folder") << ".."
                                       << "";
        QTest::newRow("parent folder inside") << "a..b"
                                              << "";
        QTest::newRow("colon") << "Site: Crew"
                               << "";
        QTest::newRow("question mark") << "Crew?"
                                       << "";
        QTest::newRow("control character inside") << "Site\x01Crew"
                                                  << "";
        QTest::newRow("shared table") << "projects"
                                      << "";
        QTest::newRow("shared table, other case") << "COSTENTRY"
                                                  << "";
        QTest::newRow("longest file name")
            << QString(252, QLatin1Char('x')) << QString(252, QLatin1Char('x')) + ".db";
        QTest::newRow("too long for a file name") << QString(253, QLatin1Char('x')) << "";
    }
    void memberNamesNameFiles() {
        QFETCH(QString, member);
        QFETCH(QString, file);
        const QString refusal = MemberFile::refusal(member);
        QCOMPARE(refusal.isEmpty(), !file.isEmpty());
        if (!file.isEmpty())
            QCOMPARE(MemberFile::fileName(member), file);
    }

    void dataPathGetsOneTrailingSeparator_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("without") << "/srv/vok/data"
                                 << "/srv/vok/data/";
        QTest::newRow("with one") << "/srv/vok/data/"
                                  << "/srv/vok/data/";
        QTest::newRow("with two") << "/srv/vok/data//"
                                  << "/srv/vok/data/";
        QTest::newRow("root") << "/"
                              << "/";
        QTest::newRow("empty: the engine's default folder") << ""
                                                            << "";
    }
    void dataPathGetsOneTrailingSeparator() {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(MemberFile::withTrailingSeparator(path), expected);
        QCOMPARE(MemberFile::withTrailingSeparator(expected), expected);
    }

    void updateStoresTheDataPathWithOneSeparator() {
        merge({});
        QCOMPARE(dm().DataPath, fx->folder() + QLatin1Char('/'));
        merge({});
        QCOMPARE(dm().DataPath, fx->folder() + QLatin1Char('/'));
    }

    // ------------------------------------------------------------ choosing a member

    // Shows "Select a Member" through its menu item; `choose` picks in the window and presses "Ok".
    void selectMember(MemberPickDialog& memberPick, const std::function<void()>& choose) {
        QAction menuItem;
        memberPick.connectMenu(&menuItem);
        int chosenWhenShown = 0;
        vok::Modal::setHandler([&](QDialog* d) {
            modals << d;
            if (d == &memberPick) {
                chosenWhenShown = memberPick.MemberName->currentIndex();
                choose();
            }
            return int(QDialog::Accepted);
        });
        menuItem.trigger();
        QCOMPARE(chosenWhenShown, -1); // the choice starts empty
    }

    void choosingAMemberOpensItsFileCreatedOnFirstUse() {
        TimeSheetEntryWindow entryWindow(&dm());
        MemberPickDialog memberPick(&dm(), &entryWindow);
        const QString file = QStringLiteral("Ana Morales.db");
        for (int use = 1; use <= 2; ++use) {
            modals.clear();
            selectMember(memberPick, [&] {
                QCOMPARE(memberPick.MemberName->count(), 3);
                QCOMPARE(memberPick.MemberName->itemText(1), QStringLiteral(" Crew"));
                memberPick.MemberName->setCurrentIndex(2);
                memberPick.okClicked();
            });
            QCOMPARE(modals, (QList<QDialog*>{&memberPick, &entryWindow}));
            QCOMPARE(memberPick.result(), int(QDialog::Accepted));
            QCOMPARE(dm().MemberTS->tableName(), file);
            QCOMPARE(fx->memberLines(file), use - 1); // an existing file is used as it is
            if (use == 1)
                fx->writeMemberLines(file, MergeFixture::parse({"Bridge|||1"}));
        }
        const vok::TableRef ref = dm().store->resolve(file);
        // Names are read without regard to letter case (the server keeps them in lower case).
        QCOMPARE(dm().store->columns(ref).join(QLatin1Char(',')).toLower(),
                 QStringLiteral("MemberTS_id,MemberTS_member,MemberTS_project,MemberTS_Major,"
                                "MemberTS_Action,MemberTS_Date_from,MemberTS_Date_to,"
                                "MemberTS_Hours,MemberTS_Notes")
                     .toLower());
        dm().store->release(ref);
    }

    void okWithoutAMemberCreatesNothing() {
        TimeSheetEntryWindow entryWindow(&dm());
        MemberPickDialog memberPick(&dm(), &entryWindow);
        const QStringList files = folderFiles(fx->folder());
        selectMember(memberPick, [&] { memberPick.okClicked(); });
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QStringLiteral("You must select a team member."));
        QCOMPARE(modals, QList<QDialog*>{&memberPick}); // no entry window
        QCOMPARE(memberPick.result(), int(QDialog::Accepted));
        QCOMPARE(folderFiles(fx->folder()), files);
    }

    void unsafeMemberNamesAreRefusedAndCreateNothing_data() {
        QTest::addColumn<QString>("member");
        QTest::addColumn<QString>("says");
        QTest::newRow("parent folder") << "../intruder"
                                       << "cannot name a time sheet file";
        QTest::newRow("separator") << "Site/Crew"
                                   << "the character '/'";
        QTest::newRow("shared table") << "Costentry"
                                      << "shared table";
        QTest::newRow("blanks only") << "   "
                                     << "more than blanks";
        QTest::newRow("a name the engine keeps") << "sqlite_sequence"
                                                 << "beginning with sqlite_";
        QTest::newRow("a file that is no database") << "Junk"
                                                    << "Junk.db cannot be opened as a time sheet";
        QTest::newRow("a file of another table")
            << "Other"
            << "Other.db cannot be opened as a time sheet: Field 'MemberTS_member' not "
               "found";
    }
    void unsafeMemberNamesAreRefusedAndCreateNothing() {
        QFETCH(QString, member);
        QFETCH(QString, says);
        if (QByteArray(QTest::currentDataTag()).startsWith("a file "))
            VOK_FOLDER_ONLY("files of the data folder");
        if (!Engines::isServer()) {
            QFile junk(QDir(fx->folder()).filePath(QStringLiteral("Junk.db")));
            QVERIFY(junk.open(QIODevice::WriteOnly));
            junk.write(QByteArray(4096, 'x'));
            junk.close();
            dm().store->createFile(
                QStringLiteral("Other.db"),
                {QStringLiteral("other"), {{QStringLiteral("a"), vok::FieldType::Integer, 0}}, {}});
        }
        dm().store->exec(QStringLiteral("INSERT INTO members (Member_name) VALUES (?)"), {member});
        dm().Members->refresh();
        TimeSheetEntryWindow entryWindow(&dm());
        MemberPickDialog memberPick(&dm(), &entryWindow);
        const QStringList files = folderFiles(fx->folder());
        const QStringList around = folderFiles(fx->env().root());
        selectMember(memberPick, [&] {
            memberPick.MemberName->setCurrentIndex(memberPick.MemberName->findText(member));
            memberPick.okClicked();
        });
        QCOMPARE(shown.size(), 1);
        // A name is refused with a warning; a file that cannot be opened is an error.
        QCOMPARE(shown[0].icon, says.contains(QLatin1String("opened")) ? Messages::Icon::Error
                                                                       : Messages::Icon::Warning);
        QVERIFY2(shown[0].text.contains(says), qPrintable(shown[0].text));
        QCOMPARE(modals, QList<QDialog*>{&memberPick});
        QCOMPARE(folderFiles(fx->folder()), files);
        QCOMPARE(folderFiles(fx->env().root()), around);
        QVERIFY(!dm().MemberTS->isActive());
    }

    // ------------------------------------------------------------ the entry window

    // The entry window on Site Crew's file of two lines, shown and activated.
    void openEntryWindow(TimeSheetEntryWindow& entryWindow) {
        fx->writeMemberLines(crewFile,
                             MergeFixture::parse({"Bridge|Design|Survey|8", "Tunnel|Design||4"}));
        dm().MemberTS->setTableName(crewFile);
        entryWindow.show();
        entryWindow.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&entryWindow));
        QVERIFY(dm().MemberTS->isActive());
    }

    static QList<QWidget*> entryControls(TimeSheetEntryWindow& f) {
        return QList<QWidget*>{f.projectList, f.majorList, f.actionList}
               << QList<QWidget*>{f.fromEdit, f.toEdit, f.quantityEdit} << f.notesMemo;
    }

    void entryControlsFollowTheNavigator_data() {
        QTest::addColumn<QString>("buttons");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("just opened") << "" << false;
        QTest::newRow("Next") << "Next" << false;
        QTest::newRow("Last") << "Last" << false;
        QTest::newRow("Insert") << "Insert" << true;
        QTest::newRow("Insert, Post") << "Insert Post" << false;
        QTest::newRow("Insert, Cancel") << "Insert Cancel" << false;
        QTest::newRow("Edit") << "Edit" << true;
        QTest::newRow("Edit, Prior") << "Next Edit Prior" << false;
        QTest::newRow("Delete") << "Delete" << false;
    }
    void entryControlsFollowTheNavigator() {
        QFETCH(QString, buttons);
        QFETCH(bool, enabled);
        TimeSheetEntryWindow entryWindow(&dm());
        openEntryWindow(entryWindow);
        const QMetaEnum names = QMetaEnum::fromType<DBNavigator::Button>();
        for (const QString& b : buttons.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            QTest::mouseClick(entryWindow.navigator->button(
                                  DBNavigator::Button(names.keyToValue(b.toLatin1().constData()))),
                              Qt::LeftButton);
        for (QWidget* w : entryControls(entryWindow))
            QVERIFY2(w->isEnabled() == enabled, qPrintable(w->objectName()));
        QVERIFY(entryWindow.navigator->isEnabled());
        QVERIFY(entryWindow.closeButton->isEnabled());
    }

    void newLineStartsTodayWithNoHoursAndNoNames() {
        TimeSheetEntryWindow entryWindow(&dm());
        openEntryWindow(entryWindow);
        QTest::mouseClick(entryWindow.navigator->button(DBNavigator::Button::Insert),
                          Qt::LeftButton);
        QCOMPARE(entryWindow.fromEdit->text(), QStringLiteral("03/01/2024"));
        QCOMPARE(entryWindow.toEdit->text(), QStringLiteral("03/01/2024"));
        QCOMPARE(entryWindow.quantityEdit->text(), QStringLiteral("0"));
        QCOMPARE(entryWindow.projectList->currentText(), QString());
        // A line naming nothing is accepted.
        QTest::mouseClick(entryWindow.navigator->button(DBNavigator::Button::Post), Qt::LeftButton);
        QCOMPARE(fx->memberLines(crewFile), 3);
    }

    void lookupListsOfferTheChosenProjectsActivities() {
        TimeSheetEntryWindow entryWindow(&dm());
        openEntryWindow(entryWindow);
        QCOMPARE(entryWindow.projectList->currentText(), QStringLiteral("Bridge"));
        QCOMPARE(entryWindow.majorList->items(), (QStringList{"Design", "Build"}));
        QTest::mouseClick(entryWindow.navigator->button(DBNavigator::Button::Insert),
                          Qt::LeftButton);
        auto choose = [](vok::DBLookupComboBox* list, const QString& text) {
            Q_EMIT list->activated(list->findText(text));
        };
        choose(entryWindow.projectList, QStringLiteral("Tunnel"));
        QCOMPARE(dm().projects->fieldByName(QStringLiteral("Zel_project")).asString(),
                 QStringLiteral("Tunnel"));
        QCOMPARE(entryWindow.majorList->items(), QStringList{"Design"});
        choose(entryWindow.majorList, QStringLiteral("Design"));
        QCOMPARE(entryWindow.actionList->items(), QStringList{"Survey"});
        choose(entryWindow.actionList, QStringLiteral("Survey"));
        QTest::mouseClick(entryWindow.navigator->button(DBNavigator::Button::Post), Qt::LeftButton);
        QCOMPARE(fx->value(QStringLiteral("SELECT MemberTS_project || '/' || MemberTS_Major || '/' "
                                          "|| MemberTS_Action FROM %1 ORDER BY MemberTS_id DESC")
                               .arg(dm().store->resolve(crewFile).sql())),
                 QStringLiteral("Tunnel/Design/Survey"));
    }

    // "Close" drops a line not posted; Escape and the title bar ask first (Save, Discard or
    // Cancel). The file is closed however the window goes.
    void closingDropsTheUnpostedLineAndTheFile_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<int>("lines");
        QTest::newRow("Close") << "Close" << QMessageBox::Ok << true << 2;
        QTest::newRow("title bar, Discard") << "title bar" << QMessageBox::Discard << true << 2;
        QTest::newRow("Escape, Discard") << "Escape" << QMessageBox::Discard << true << 2;
        QTest::newRow("Escape, Save") << "Escape" << QMessageBox::Save << true << 3;
        QTest::newRow("Escape, Cancel") << "Escape" << QMessageBox::Cancel << false << 2;
    }
    void closingDropsTheUnpostedLineAndTheFile() {
        QFETCH(QString, how);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(bool, closes);
        QFETCH(int, lines);
        TimeSheetEntryWindow entryWindow(&dm());
        openEntryWindow(entryWindow);
        QTest::mouseClick(entryWindow.navigator->button(DBNavigator::Button::Insert),
                          Qt::LeftButton);
        entryWindow.quantityEdit->setFocus();
        entryWindow.quantityEdit->selectAll();
        QTest::keyClicks(entryWindow.quantityEdit, QStringLiteral("5"));
        QCOMPARE(dm().MemberTS->fieldByName(QStringLiteral("MemberTS_Hours")).asFloat(), 5.0);
        this->answer = answer;
        if (how == QLatin1String("Close"))
            QTest::mouseClick(entryWindow.closeButton, Qt::LeftButton);
        else if (how == QLatin1String("title bar"))
            entryWindow.close();
        else
            QTest::keyClick(&entryWindow, Qt::Key_Escape);
        QCOMPARE(shown.size(), how == QLatin1String("Close") ? 0 : 1);
        QCOMPARE(entryWindow.isVisible(), !closes);
        QCOMPARE(dm().MemberTS->isActive(), !closes);
        QCOMPARE(fx->memberLines(crewFile), lines);
        if (closes)
            QCOMPARE(attachedFiles(), QStringList{QStringLiteral("main")});
        else // what stays is the line as typed
            QCOMPARE(entryWindow.quantityEdit->text(), QStringLiteral("5"));
    }

    // ------------------------------------------------------------ the update window

    void updateWindowMergesTheChosenMembers_data() {
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<QVariant>("anasHours"); // Ana Morales's one line, on "Nowhere"
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("message"); // empty: none
        QTest::addColumn<bool>("closes");
        QTest::newRow("none chosen") << QList<int>{} << QVariant() << QStringList{} << "" << true;
        QTest::newRow("Site Crew")
            << QList<int>{0} << QVariant() << QStringList{"1,0,0"} << "" << true;
        QTest::newRow("both with files")
            << QList<int>{0, 1} << QVariant() << QStringList{"1,0,0", "2,0,0"} << "" << true;
        QTest::newRow("a project not found is told")
            << QList<int>{0, 2} << QVariant(3) << QStringList{"1,0,0", "0,0,0"}
            << "1 line named what was not found; it was booked with number 0 from that level "
               "down:\n  project \"Nowhere\" (1 line)"
            << true;
        QTest::newRow("an unreadable file is told, the others merged")
            << QList<int>{0, 1, 2} << QVariant(QStringLiteral("3,5"))
            << QStringList{"1,0,0", "2,0,0"}
            << "1 of the time sheets was not merged; it and the totals are unchanged:\n  Ana "
               "Morales.db, line 1, column \"Hours\" (MemberTS_Hours): '3,5' is not a number."
            << false;
    }
    void updateWindowMergesTheChosenMembers() {
        QFETCH(QList<int>, chosen);
        QFETCH(QVariant, anasHours);
        QFETCH(QStringList, rows);
        QFETCH(QString, message);
        QFETCH(bool, closes);
        if (anasHours.typeId() == QMetaType::QString)
            VOK_FOLDER_ONLY("the server refuses such a value when it is written");
        fx->writeMemberLines(crewFile, MergeFixture::parse({"Bridge|||1"}));
        fx->writeMemberLines(QStringLiteral("Crew.db"), MergeFixture::parse({"Tunnel|||2"}));
        if (anasHours.isValid()) {
            EntryLine line = MergeFixture::parse({"Nowhere"}).value(0);
            line.quantity = anasHours;
            fx->writeMemberLines(QStringLiteral("Ana Morales.db"), {line});
        }
        TimeSheetUpdateDialog timeSheetUpdate(&dm());
        QAction menuItem;
        timeSheetUpdate.connectMenu(&menuItem);
        int listed = 0;
        vok::Modal::setHandler([&](QDialog* d) {
            modals << d;
            d->show();
            listed = timeSheetUpdate.memberList->count();
            for (int i : chosen)
                timeSheetUpdate.memberList->item(i)->setSelected(true);
            timeSheetUpdate.updateClicked();
            return timeSheetUpdate.result();
        });
        menuItem.trigger();
        QCOMPARE(listed, 3);
        QCOMPARE(modals, QList<QDialog*>{&timeSheetUpdate});
        QCOMPARE(timeSheetUpdate.isVisible(), !closes);
        QCOMPARE(shown.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) {
            QCOMPARE(shown[0].text, message);
            QCOMPARE(shown[0].icon, closes ? Messages::Icon::Information : Messages::Icon::Warning);
        }
        QCOMPARE(fx->rowNumbers(QStringLiteral("ProjectTS")), rows);
        if (anasHours.isValid())
            QCOMPARE(fx->memberLines(QStringLiteral("Ana Morales.db")) > 0, !closes);
        QVERIFY(!dm().TimeSheets->isActive());
    }

    // ------------------------------------------------------------ vokctl

    // Two installations update the same member's time sheet at the same moment: one merges the
    // lines, the other waits for it and then finds none; nothing is counted twice.
    void simultaneousMergesCountEachLineOnce() {
        QStringList lines;
        for (int i = 0; i < 300; ++i)
            lines << QStringLiteral("Bridge|Design|Survey|1");
        fx->writeMemberLines(crewFile, MergeFixture::parse(lines));
        const auto before = fx->totals(QStringLiteral("hours"));
        const QStringList args{QStringLiteral("merge-timesheets"), QStringLiteral("--data"),
                               fx->folder(), QStringLiteral("--member"),
                               QStringLiteral("Site Crew")};
        QProcess first;
        QProcess second;
        first.start(QStringLiteral(VOKCTL), args);
        second.start(QStringLiteral(VOKCTL), args);
        QVERIFY(first.waitForFinished(60000));
        QVERIFY(second.waitForFinished(60000));
        QCOMPARE(first.exitCode() + second.exitCode(), 0);
        QCOMPARE(fx->rowNumbers(QStringLiteral("ProjectTS")).size(), 300);
        QCOMPARE(fx->memberLines(crewFile), 0);
        QCOMPARE(MergeFixture::changes(before, fx->totals(QStringLiteral("hours"))),
                 QStringLiteral("A1+300 M1+300 P1+300"));
    }

    void commandLine_data() {
        QTest::addColumn<QStringList>("args"); // DIR stands for the data folder
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("says"); // on standard output, or standard error on failure
        QTest::addColumn<int>("linesLeft");
        QTest::newRow("all members") << QStringList{"--data", "DIR", "--all"} << 0
                                     << "Merged 2 lines from 1 member file." << 0;
        QTest::newRow("one member") << QStringList{"--data", "DIR", "--member", "Site Crew"} << 0
                                    << "Site Crew: 2 lines merged" << 0;
        QTest::newRow("names not found are counted and listed")
            << QStringList{"--data", "DIR", "--member", "Site Crew"} << 0
            << "1 line named what was not found; it was booked with number 0 from that level "
               "down:\n  project \"Nowhere\" (1 line)"
            << 0;
        QTest::newRow("the name without its blanks")
            << QStringList{"--data", "DIR", "--member", "Crew", "Site Crew"} << 0
            << " Crew: no time sheet file" << 0;
        QTest::newRow("member without a file")
            << QStringList{"--data", "DIR", "--member", "Ana Morales"} << 0
            << "Ana Morales: no time sheet file" << 2;
        QTest::newRow("not a member: nothing merged")
            << QStringList{"--data", "DIR", "--member", "Site Crew", "--member", "Bob"} << 1
            << "nothing was merged. \"Bob\" is not a team member." << 2;
        QTest::newRow("a refused name: nothing merged")
            << QStringList{"--data", "DIR", "--member", "Site Crew", "--member", "Site/Crew"} << 1
            << "nothing was merged." << 2;
        QTest::newRow("no member named")
            << QStringList{"--data", "DIR"} << 2 << "name the members with --member" << 2;
        QTest::newRow("members and all")
            << QStringList{"--data", "DIR", "--all", "--member", "Site Crew"} << 2
            << "name the members with --member" << 2;
        QTest::newRow("no data folder") << QStringList{"--all"} << 2 << "--data is required" << 2;
        QTest::newRow("missing data folder")
            << QStringList{"--data", "DIR/none", "--all"} << 1 << "does not exist" << 2;
        QTest::newRow("a file that is no time sheet")
            << QStringList{"--data", "DIR", "--member", "Ana Morales"} << 1
            << "1 of the time sheets was not merged; it and the totals are unchanged:\n"
               "  Ana Morales.db cannot be opened as a time sheet: "
            << 2;
        QTest::newRow("all members, one file no time sheet: the others merged")
            << QStringList{"--data", "DIR", "--all"} << 1
            << "  Ana Morales.db cannot be opened as a time sheet" << 0;
    }
    void commandLine() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, says);
        QFETCH(int, linesLeft);
        fx->writeMemberLines(crewFile, MergeFixture::parse({"Bridge|Design||3", "Nowhere|||1"}));
        if (QByteArray(QTest::currentDataTag()).contains("no time sheet")) {
            VOK_FOLDER_ONLY("a file of the data folder");
            QFile junk(QDir(fx->folder()).filePath(QStringLiteral("Ana Morales.db")));
            QVERIFY(junk.open(QIODevice::WriteOnly));
            junk.write(QByteArray(4096, 'x'));
        }
        const auto before = fx->totals(QStringLiteral("hours"));
        const MergeFixture::Run run = fx->vokctl(
            QStringLiteral(VOKCTL), QStringList{QStringLiteral("merge-timesheets")} + args);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2((exitCode == 0 ? run.out : run.err).contains(says), qPrintable(run.out + run.err));
        QCOMPARE(fx->memberLines(crewFile), linesLeft);
        // The totals Vok then shows were raised by the merged lines only.
        dm().projects->refresh();
        QCOMPARE(MergeFixture::changes(before, fx->totals(QStringLiteral("hours"))),
                 linesLeft == 0 ? QStringLiteral("M1+3 P1+3") : QString());
    }
};

QTEST_MAIN(TestTimeSheets)
#include "tst_timesheets.moc"

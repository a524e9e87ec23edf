// Member time-sheet files, their merge into the project time sheet table, the entry and update
// windows and vokctl merge-timesheets, against real data folders.
#include "framework/dataset/databaseerror.h"
#include "framework/dataset/store.h"
#include "framework/dataset/transaction.h"
#include "framework/ui/messages.h"
#include "framework/ui/modal.h"
#include "framework/widgets/dbedit.h"
#include "framework/widgets/dblookupcombobox.h"
#include "framework/widgets/dbmemo.h"
#include "mergefixture.h"
#include "timesheets/memberfile.h"
#include "timesheets/namelookup.h"
#include "timesheets/tform10.h"
#include "timesheets/tform11.h"
#include "timesheets/tform12.h"
#include "timesheets/timesheetmerge.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QSqlQuery>
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
    QList<QDialog*> modals; // windows shown modally, in order

    TDataModule2& dm() { return fx->dm(); }

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
        QSqlQuery q = dm().Database1->exec(QStringLiteral("PRAGMA database_list"));
        QStringList out;
        while (q.next())
            out << q.value(1).toString();
        return out;
    }

private Q_SLOTS:
    void init() {
        fx = std::make_unique<MergeFixture>();
        shown.clear();
        modals.clear();
        Messages::setHandler([this](const Messages::Request& r) {
            shown << r;
            return QMessageBox::Ok;
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
        QTest::newRow("unknown project gives 0 and no total")
            << QStringList{"Nowhere|Design|Survey|4"} << QStringList{"0,0,0"} << ""
            << QStringList{"project \"Nowhere\""};
        QTest::newRow("unknown major activity: its action is not looked up elsewhere")
            << QStringList{"Bridge|Nope|Survey|2"} << QStringList{"1,0,0"} << "P1+2"
            << QStringList{"major activity \"Nope\" of project \"Bridge\""};
        QTest::newRow("unknown action")
            << QStringList{"Bridge|Build|Paint|1"} << QStringList{"1,2,0"} << "M2+1 P1+1"
            << QStringList{"action \"Paint\" of major activity \"Build\" of project \"Bridge\""};
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
            << QStringList{"project \"bridge\"", "project \"Bridge \"",
                           "major activity \"design\" of project \"Bridge\""};
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
        QCOMPARE(report.notFound, notFound);
        QCOMPARE(fx->rowNumbers(QStringLiteral("ProjectTS")), rows);
        QCOMPARE(MergeFixture::changes(before, fx->totals(QStringLiteral("hours"))), changes);
        QCOMPARE(fx->totals(QStringLiteral("costs")), costsBefore);
        QCOMPARE(fx->memberLines(crewFile), 0);
        QVERIFY(QFileInfo::exists(QDir(fx->folder()).filePath(crewFile))); // emptied, not removed
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
        QCOMPARE(fx->value(QStringLiteral("SELECT ProjectTS_hours || '/' || ProjectTS_date_from || "
                                          "'/' || ProjectTS_date_to FROM ProjectTS")),
                 QStringLiteral("0.0/1899-12-30/1899-12-30"));
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

        QVERIFY_THROWS_EXCEPTION(vok::DatabaseError,
                                 merge({QStringLiteral("Site Crew")}, failAt(failAfter)));

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
        try {
            merge({QStringLiteral("Site Crew"), QStringLiteral(" Crew")}, failInSecondFile);
            QFAIL("the second file's failure is reported");
        } catch (const vok::DatabaseError& e) {
            QVERIFY2(e.message().contains(QLatin1String("time sheet of Crew was not merged")),
                     qPrintable(e.message()));
            QVERIFY(e.message().endsWith(QLatin1String("locked")));
        }
        QCOMPARE(fx->rowNumbers(QStringLiteral("ProjectTS")), QStringList{"1,0,0"});
        QCOMPARE(fx->memberLines(crewFile), 0);
        QCOMPARE(fx->memberLines(QStringLiteral("Crew.db")), 1);
    }

    void membersThatCannotBeMergedAreSkipped_data() {
        QTest::addColumn<QString>("member");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no file") << "Ana Morales"
                                 << "no time sheet file";
        QTest::newRow("a path out of the data folder") << "../outside"
                                                       << "cannot name";
        QTest::newRow("the name of a shared table") << "projects"
                                                    << "shared table";
    }
    void membersThatCannotBeMergedAreSkipped() {
        QFETCH(QString, member);
        QFETCH(QString, reason);
        // A time sheet lying beside the data folder must not be reached through a member name.
        fx->writeMemberLines(crewFile, MergeFixture::parse({"Bridge|||1"}));
        QVERIFY(QFile::copy(QDir(fx->folder()).filePath(crewFile),
                            QDir(fx->folder()).filePath(QStringLiteral("../outside.db"))));
        const MergeReport report = merge({member});
        QCOMPARE(report.lines, 0);
        QCOMPARE(report.skipped.size(), 1);
        QVERIFY2(report.skipped[0].contains(reason), qPrintable(report.skipped[0]));
        QCOMPARE(fx->rowNumbers(QStringLiteral("ProjectTS")), QStringList{});
        QCOMPARE(fx->memberLines(crewFile), 1);
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
};

QTEST_MAIN(TestTimeSheets)
#include "tst_timesheets.moc"

// The week of a member's time sheet: hours as typed, the lines a week reads and writes, the day's
// limit, last week's rows, and one window at a time on a member's file; on both engines.
#include "framework/dataset/databaseerror.h"
#include "framework/dataset/sheetclaim.h"
#include "framework/dataset/store.h"
#include "mergefixture.h"
#include "support/engines.h"
#include "timesheets/hourstext.h"
#include "timesheets/memberfile.h"
#include "timesheets/timesheetmerge.h"
#include "timesheets/weeksheet.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QtTest>

namespace {

const QString crew = QStringLiteral("Site Crew");
const QString crewFile = QStringLiteral("Site Crew.db");
// The fixed clock's week: Monday 26 February to Sunday 3 March 2024.
const QDate monday(2024, 2, 26);

// "project|major|action|from|to|hours[|notes]", dates as days of the week from Monday (0) or ISO.
QList<EntryLine> fileLines(const QStringList& rows) {
    QList<EntryLine> out;
    const auto day = [](const QString& d) {
        bool number = false;
        const int offset = d.toInt(&number);
        return number ? monday.addDays(offset).toString(Qt::ISODate) : d;
    };
    for (const QString& row : rows) {
        const QStringList p = row.split(QLatin1Char('|'));
        EntryLine l;
        l.project = p[0];
        l.major = p[1];
        l.action = p[2];
        l.from = day(p[3]);
        l.to = day(p[4]);
        l.quantity = p[5].toDouble();
        if (p.size() > 6)
            l.notes = p[6];
        out << l;
    }
    return out;
}

} // namespace

class TestWeekEntry : public QObject {
    Q_OBJECT

    std::unique_ptr<MergeFixture> fx;

    ProjectData& dm() { return fx->dm(); }

    // The member's lines in the order of entry, "project|major|action|from|to|hours", dates as
    // days from Monday.
    QStringList storedLines() {
        vok::Store& s = *dm().store;
        const vok::TableRef ref = s.resolve(crewFile);
        QSqlQuery q = s.exec(QStringLiteral("SELECT MemberTS_project, MemberTS_Major, "
                                            "MemberTS_Action, MemberTS_Date_from, "
                                            "MemberTS_Date_to, MemberTS_Hours FROM %1 ORDER BY "
                                            "MemberTS_id")
                                 .arg(ref.sql()));
        QStringList out;
        while (q.next()) {
            QStringList cells;
            for (int c = 0; c < 3; ++c)
                cells << q.value(c).toString();
            for (int c = 3; c < 5; ++c)
                cells << QString::number(
                    monday.daysTo(QDate::fromString(q.value(c).toString().left(10), Qt::ISODate)));
            cells << QString::number(q.value(5).toDouble());
            out << cells.join(QLatin1Char('|'));
        }
        s.release(ref);
        return out;
    }

    void open(WeekSheet& sheet, const QDate& day = monday.addDays(4)) {
        MemberFile::open(*dm().MemberTS, crew);
        sheet.read(crew, day);
    }

    // A row as "names: hours Monday to Sunday [+ kept hours]".
    static QString shown(const WeekSheet::Row& r) {
        QStringList hours;
        for (const WeekSheet::Cell& c : r.cells)
            hours << (c.hours ? QString::number(*c.hours) : QString());
        double kept = 0;
        for (const WeekSheet::Kept& k : r.kept)
            kept += k.hours;
        return QStringList(r.names.begin(), r.names.end()).join(QLatin1Char('|')) +
               QStringLiteral(": ") + hours.join(QLatin1Char(',')) +
               (r.kept.isEmpty() ? QString() : QStringLiteral(" +%1").arg(kept));
    }
    static QStringList shown(const WeekSheet& sheet) {
        QStringList out;
        for (const WeekSheet::Row& r : sheet.rows())
            out << shown(r);
        return out;
    }

    void book(const QString& member, int project, int major, int action, const QString& from,
              const QString& to, double hours) {
        fx->value(QStringLiteral("INSERT INTO ProjectTS (ProjectTS_project_id, ProjectTS_major_id, "
                                 "ProjectTS_action_id, ProjectTS_date_from, ProjectTS_date_to, "
                                 "ProjectTS_member, ProjectTS_hours) VALUES (?,?,?,?,?,?,?)"),
                  {project, major, action, from, to, member, hours});
    }

private Q_SLOTS:
    void initTestCase_data() { Engines::addRows(); }

    void init() {
        VOK_INIT_ENGINE();
        fx = std::make_unique<MergeFixture>();
    }

    void cleanup() { fx.reset(); }

    // ------------------------------------------------------------ hours as typed

    void hoursAreReadAsTheMemberTypesThem_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("hours"); // -1: refused
        QTest::addColumn<QString>("shownOrRefusal");
        QTest::newRow("point") << "7.5"
                               << "en_US" << 7.5 << "7.5";
        QTest::newRow("French comma") << "7,5"
                                      << "fr_FR" << 7.5 << "7,5";
        QTest::newRow("a point where it is no group separator") << "7.5"
                                                                << "fr_FR" << 7.5 << "7,5";
        QTest::newRow("hours and minutes") << "7:30"
                                           << "en_US" << 7.5 << "7.5";
        QTest::newRow("minutes only, shown to two places") << "0:20"
                                                           << "en_US" << 1.0 / 3 << "0.33";
        QTest::newRow("blanks around") << " 8 "
                                       << "en_US" << 8.0 << "8";
        QTest::newRow("a whole day") << "24:00"
                                     << "en_US" << 24.0 << "24";
        QTest::newRow("nothing clears the day") << ""
                                                << "en_US" << 0.0 << "";
        QTest::newRow("a comma is an English group separator")
            << "7,5"
            << "en_US" << -1.0 << "is no number of hours. Type hours as 7.5";
        QTest::newRow("a point is a German group separator")
            << "7.5"
            << "de_DE" << -1.0 << "Type hours as 7,5";
        QTest::newRow("text") << "eight"
                              << "en_US" << -1.0 << "\"eight\" is no number of hours";
        QTest::newRow("not a number") << "nan"
                                      << "en_US" << -1.0 << "is no number of hours";
        QTest::newRow("infinity") << "inf"
                                  << "en_US" << -1.0 << "is no number of hours";
        QTest::newRow("below 0") << "-1"
                                 << "en_US" << -1.0 << "Hours cannot be below 0.";
        QTest::newRow("below 0 in minutes") << "-0:30"
                                            << "en_US" << -1.0 << "Hours cannot be below 0.";
        QTest::newRow("more than a day") << "24.5"
                                         << "en_US" << -1.0 << "at most 24 hours a day";
        QTest::newRow("more than a day in minutes") << "24:01"
                                                    << "en_US" << -1.0 << "at most 24 hours";
        QTest::newRow("60 minutes") << "7:60"
                                    << "en_US" << -1.0 << "minutes go from 00 to 59";
    }
    void hoursAreReadAsTheMemberTypesThem() {
        QFETCH(QString, text);
        QFETCH(QString, locale);
        QFETCH(double, hours);
        QFETCH(QString, shownOrRefusal);
        const QLocale l(locale);
        const HoursText::Reading r = HoursText::read(text, l);
        if (hours < 0) {
            QVERIFY(!r.ok());
            QVERIFY2(r.refusal.contains(shownOrRefusal), qPrintable(r.refusal));
            return;
        }
        QVERIFY2(r.ok(), qPrintable(r.refusal));
        if (text.isEmpty()) {
            QVERIFY(!r.hours);
            return;
        }
        QVERIFY(r.hours);
        QCOMPARE(*r.hours, hours);
        QCOMPARE(HoursText::shown(*r.hours, l), shownOrRefusal);
    }

    // ------------------------------------------------------------ reading a week

    void oneDayLinesAreCellsAndTheRestIsKept() {
        fx->writeMemberLines(
            crewFile, fileLines({"Bridge|Design|Survey|0|0|8", "Bridge|Design|Survey|1|1|7.5",
                                 "Bridge|Design|Survey|0|0|2", "Bridge|Build||0|2|20",
                                 "Tunnel|||3|3|3|with notes", "Bridge|Design|Survey|-7|-7|6",
                                 "Bridge|Design|Survey|7|7|6", "Bridge|Build||6|8|9"}));
        book(crew, 2, 3, 4, QStringLiteral("2024-02-28"), QStringLiteral("2024-02-28"), 4);
        book(QStringLiteral("Ana Morales"), 1, 0, 0, QStringLiteral("2024-02-28"),
             QStringLiteral("2024-02-28"), 5);
        WeekSheet sheet(dm());
        open(sheet);
        QCOMPARE(sheet.monday(), monday);
        QCOMPARE(shown(sheet),
                 (QStringList{"Bridge|Design|Survey: 8,7.5,,,,,", "Bridge|Design|Survey: 2,,,,,,",
                              "Bridge|Build|: ,,,,,, +29", "Tunnel||: ,,,,,, +3",
                              "Tunnel|Design|Survey: ,,,,,, +4"}));
        QVERIFY(!sheet.rows()[0].keepsNames());
        QVERIFY(sheet.rows()[2].keepsNames());
        // Days count their cells and what was kept of that very day; lines of several days
        // count in their row only.
        QList<double> days;
        for (int d = 0; d < WeekSheet::Days; ++d)
            days << sheet.dayTotal(d);
        QCOMPARE(days, (QList<double>{10, 7.5, 4, 3, 0, 0, 0}));
        QCOMPARE(sheet.total(), 8 + 7.5 + 2 + 29 + 3 + 4.0);
        QVERIFY(!sheet.isModified());
    }

    // ------------------------------------------------------------ storing a week

    void eachChangedCellWritesItsOneLine_data() {
        QTest::addColumn<QStringList>("edits"); // "row:day=hours" (empty clears), "row:level~name"
        QTest::addColumn<QStringList>("lines");
        const QStringList others{"Bridge|Build||0|2|20", "Bridge|Design|Survey|-7|-7|6"};
        QTest::newRow("nothing changed writes nothing")
            << QStringList{"0:0=8"}
            << QStringList{"Bridge|Design|Survey|0|0|8", "Bridge|Design|Survey|1|1|7.5"} + others;
        QTest::newRow("a new cell appends its line")
            << QStringList{"0:4=6.25"}
            << QStringList{"Bridge|Design|Survey|0|0|8", "Bridge|Design|Survey|1|1|7.5"} + others +
                   QStringList{"Bridge|Design|Survey|4|4|6.25"};
        QTest::newRow("a changed cell updates its line")
            << QStringList{"0:1=6"}
            << QStringList{"Bridge|Design|Survey|0|0|8", "Bridge|Design|Survey|1|1|6"} + others;
        QTest::newRow("a cleared cell deletes its line")
            << QStringList{"0:0="} << QStringList{"Bridge|Design|Survey|1|1|7.5"} + others;
        QTest::newRow("cleared and changed and new at once")
            << QStringList{"0:0=", "0:1=0", "0:6=1"}
            << QStringList{"Bridge|Design|Survey|1|1|0"} + others +
                   QStringList{"Bridge|Design|Survey|6|6|1"};
        QTest::newRow("a renamed row renames its lines")
            << QStringList{"0:2~Drawings"}
            << QStringList{"Bridge|Design|Drawings|0|0|8", "Bridge|Design|Drawings|1|1|7.5"} +
                   others;
        QTest::newRow("a new row of names and hours")
            << QStringList{"2:0~Tunnel", "2:3=2", "2:1~Design"}
            << QStringList{"Bridge|Design|Survey|0|0|8", "Bridge|Design|Survey|1|1|7.5"} + others +
                   QStringList{"Tunnel|Design||3|3|2"};
        QTest::newRow("a row of names alone stores nothing")
            << QStringList{"2:0~Tunnel"}
            << QStringList{"Bridge|Design|Survey|0|0|8", "Bridge|Design|Survey|1|1|7.5"} + others;
        QTest::newRow("a kept line's row keeps its names and the line")
            << QStringList{"1:0~Tunnel", "1:1=3"}
            << QStringList{"Bridge|Design|Survey|0|0|8", "Bridge|Design|Survey|1|1|7.5"} + others +
                   QStringList{"Bridge|Build||1|1|3"};
    }
    void eachChangedCellWritesItsOneLine() {
        QFETCH(QStringList, edits);
        QFETCH(QStringList, lines);
        fx->writeMemberLines(
            crewFile, fileLines({"Bridge|Design|Survey|0|0|8", "Bridge|Design|Survey|1|1|7.5",
                                 "Bridge|Build||0|2|20", "Bridge|Design|Survey|-7|-7|6"}));
        WeekSheet sheet(dm());
        open(sheet);
        for (const QString& edit : edits) {
            const int row = edit.section(QLatin1Char(':'), 0, 0).toInt();
            const QString rest = edit.section(QLatin1Char(':'), 1);
            if (rest.contains(QLatin1Char('~'))) {
                sheet.setName(row, static_cast<WeekSheet::Level>(rest.section('~', 0, 0).toInt()),
                              rest.section('~', 1));
            } else {
                const QString hours = rest.section('=', 1);
                QVERIFY(sheet.setHours(row, rest.section('=', 0, 0).toInt(),
                                       hours.isEmpty() ? std::optional<double>()
                                                       : std::optional<double>(hours.toDouble())));
            }
        }
        sheet.store();
        QCOMPARE(storedLines(), lines);
        QVERIFY(!sheet.isModified());
        // Read again, the week shows what it stored.
        WeekSheet again(dm());
        dm().MemberTS->close();
        open(again);
        QCOMPARE(shown(again), shown(sheet));
    }

    void aDayHoldsAtMostTwentyFourHours() {
        fx->writeMemberLines(crewFile, fileLines({"Bridge|Design|Survey|0|0|16",
                                                  "Tunnel|||0|0|3|kept with its notes"}));
        WeekSheet sheet(dm());
        open(sheet);
        QVERIFY(sheet.setHours(1, 0, 5)); // 16 + 3 + 5: a full day
        QVERIFY(!sheet.setHours(2, 0, 0.5));
        QCOMPARE(sheet.refusal(2, 0, 0.5),
                 QStringLiteral("With 0.5 hours here, 02/26/2024 would hold 24.5 hours: a day "
                                "has at most 24."));
        QVERIFY(sheet.setHours(0, 0, 16.5) == false); // the row's own 16 is replaced, not added
        QVERIFY(sheet.setHours(0, 0, 15.5));
        QVERIFY(sheet.setHours(2, 1, 24)); // another day
        QCOMPARE(shown(sheet), (QStringList{"Bridge|Design|Survey: 15.5,,,,,,",
                                            "Tunnel||: 5,,,,,, +3", "||: ,24,,,,,"}));
    }

    void lastWeeksRowsAreCopiedWithoutHours() {
        fx->writeMemberLines(crewFile,
                             fileLines({"Bridge|Design|Survey|-7|-7|8", "Bridge|Build||-3|-3|2",
                                        "Bridge|Design|Survey|0|0|4"}));
        // Merged already: found by the numbers, named again.
        book(crew, 2, 3, 4, QStringLiteral("2024-02-20"), QStringLiteral("2024-02-22"), 12);
        book(QStringLiteral("Ana Morales"), 1, 2, 0, QStringLiteral("2024-02-20"),
             QStringLiteral("2024-02-20"), 5);
        WeekSheet sheet(dm());
        open(sheet);
        QCOMPARE(sheet.copyPreviousRows(), 2);
        QCOMPARE(shown(sheet),
                 (QStringList{"Bridge|Design|Survey: 4,,,,,,", "Bridge|Build|: ,,,,,,",
                              "Tunnel|Design|Survey: ,,,,,,"}));
        QVERIFY(!sheet.isModified()); // names alone are no lines
        QCOMPARE(sheet.copyPreviousRows(), 0);
    }

    void aFileChangedSinceReadIsNotOverwritten() {
        fx->writeMemberLines(crewFile, fileLines({"Bridge|Design|Survey|0|0|8"}));
        WeekSheet sheet(dm());
        open(sheet);
        QVERIFY(sheet.setHours(0, 0, 6));
        const vok::TableRef ref = dm().store->resolve(crewFile);
        fx->value(QStringLiteral("UPDATE %1 SET MemberTS_Hours = 9").arg(ref.sql()));
        dm().store->release(ref);
        QVERIFY_THROWS_EXCEPTION(vok::DatabaseError, sheet.store());
        QCOMPARE(storedLines(), QStringList{"Bridge|Design|Survey|0|0|9"});
    }

    // ------------------------------------------------------------ one window at a time

    void aMembersSheetIsHeldByOneWindowAtATime() {
        using Kind = vok::SheetClaim::Kind;
        fx->writeMemberLines(crewFile, fileLines({"Bridge|Design|Survey|0|0|8"}));
        const auto other = fx->otherInstallation();
        // Merges share a sheet nobody types into, and leave the folder as they found it.
        {
            const auto merging = dm().store->claimSheet(crewFile, Kind::Shared);
            QVERIFY(merging);
            QVERIFY(other->store->claimSheet(crewFile, Kind::Shared));
            QVERIFY(dm().store->claimSheet(crewFile, Kind::Shared));
            QVERIFY(!dm().store->claimSheet(crewFile, Kind::Alone));
            if (Engines::isServer())
                QVERIFY(!other->store->claimSheet(crewFile, Kind::Alone));
            else
                QVERIFY(!QFile::exists(QDir(fx->folder()).filePath(crewFile + u".lock"_qs)));
        }
        std::unique_ptr<vok::SheetClaim> held = dm().store->claimSheet(crewFile, Kind::Alone);
        QVERIFY(held);
        QVERIFY(!dm().store->claimSheet(crewFile, Kind::Alone));   // this installation, again
        QVERIFY(!other->store->claimSheet(crewFile, Kind::Alone)); // another installation
        QVERIFY(!other->store->claimSheet(crewFile, Kind::Shared));
        QVERIFY(other->store->claimSheet(QStringLiteral("Crew.db"), Kind::Alone)); // another member
        // The update leaves a file a window holds as it is, and says so.
        TimeSheetMerge merge(*other);
        const MergeReport report = merge.run({crew});
        QCOMPARE(report.lines, 0);
        QCOMPARE(report.skipped.size(), 1);
        QVERIFY(report.skipped[0].reason.contains(QStringLiteral("open in a time sheet window")));
        QCOMPARE(storedLines().size(), 1);
        held.reset();
        QCOMPARE(merge.run({crew}).lines, 1);
        // Once a window has held the sheet, a merge keeps windows out while it runs.
        {
            const auto merging = dm().store->claimSheet(crewFile, Kind::Shared);
            QVERIFY(merging);
            QVERIFY(!other->store->claimSheet(crewFile, Kind::Alone));
        }
        QVERIFY(dm().store->claimSheet(crewFile, Kind::Alone));
    }
};

QTEST_MAIN(TestWeekEntry)
#include "tst_weekentry.moc"

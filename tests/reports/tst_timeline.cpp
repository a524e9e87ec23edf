// The time line report run through its dialog on a real data folder, checked on the laid-out
// pages; and vokctl report timeline.
#include "data/projectdata.h"
#include "framework/dataset/store.h"
#include "framework/dataset/table.h"
#include "framework/report/report.h"
#include "framework/report/reportelement.h"
#include "framework/report/reportlabel.h"
#include "framework/report/reportpreview.h"
#include "framework/report/reportprinter.h"
#include "framework/ui/clock.h"
#include "framework/ui/messages.h"
#include "framework/ui/modal.h"
#include "reports/timelinedialog.h"
#include "reports/timelinereport.h"
#include "support/engines.h"
#include "support/testenvironment.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
#include <QSqlQuery>
#include <QtTest>

using vok::ReportDocument;
using vok::ReportItem;

namespace {

const QDate march1(2024, 3, 1); // a Friday
enum Scale { Day = 0, Month = 1 };
enum Start { ProjectStart = 0, Today = 1 };

QList<ReportItem> named(const ReportDocument& doc, const QString& id, int page = -1) {
    QList<ReportItem> out;
    for (int p = 0; p < doc.pages.size(); ++p) {
        if (page < 0 || p == page)
            out << doc.pages[p].itemsNamed(id);
    }
    return out;
}

ReportItem one(const ReportDocument& doc, const QString& id, int page = 0) {
    const QList<ReportItem> items = named(doc, id, page);
    return items.value(0);
}

int countInBand(const vok::ReportPage& page, const QString& band) {
    int n = 0;
    for (const ReportItem& item : page.items)
        n += (item.band == band &&
              (item.id == QLatin1String("QRShape2") || item.id == QLatin1String("QRShape3") ||
               item.id == QLatin1String("QRDBText2")))
                 ? 1
                 : 0;
    return n;
}

QString iso(const QDate& d) {
    return d.toString(Qt::ISODate);
}

} // namespace

class TestTimeline : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<ProjectData> dm;
    std::unique_ptr<TimeLineDialog> timeLineDialog;
    std::unique_ptr<TimeLineReport> timeLineReport;
    QString printProject; // the main window's PrintProject

    qlonglong insert(const QString& sql, const QVariantList& binds) {
        return dm->store->exec(sql, binds).lastInsertId().toLongLong();
    }

    qlonglong addProject(const QString& name, const QDate& from, const QDate& to) {
        return insert(
            QStringLiteral("INSERT INTO projects (Zel_project, Zel_date_from, Zel_date_to) "
                           "VALUES (?, ?, ?)"),
            {name, iso(from), iso(to)});
    }

    qlonglong addMajor(qlonglong project, const QDate& from, const QDate& to, bool critical = false,
                       bool completed = false, int percent = 0) {
        return insert(
            QStringLiteral("INSERT INTO major (Major_project_id, Major_item, Major_from_date, "
                           "Major_to_date, Major_critical, Major_completed, "
                           "Major_perc_complete) VALUES (?, 'Major', ?, ?, ?, ?, ?)"),
            {project, iso(from), iso(to), int(critical), int(completed), percent});
    }

    void addAction(qlonglong project, qlonglong major, const QDate& from, const QDate& to,
                   bool critical = false, bool completed = false, int percent = 0) {
        insert(
            QStringLiteral("INSERT INTO action (Action_project_id, Action_major_id, Action_name, "
                           "Action_from_date, Action_to_date, Action_critical, Action_completed, "
                           "Action_perc_complete) VALUES (?, ?, 'Action', ?, ?, ?, ?, ?)"),
            {project, major, iso(from), iso(to), int(critical), int(completed), percent});
    }

    // A project "P" from 1 March to 30 June 2024 with one major activity and one action, both
    // over the given days after its start.
    void onePlan(int from, int to, bool critical = false, bool completed = false, int percent = 0) {
        const qlonglong p = addProject(QStringLiteral("P"), march1, QDate(2024, 6, 30));
        const qlonglong m =
            addMajor(p, march1.addDays(from), march1.addDays(to), critical, completed, percent);
        addAction(p, m, march1.addDays(from), march1.addDays(to), critical, completed, percent);
    }

    void openTables() {
        for (vok::Table* t : {dm->projects, dm->Major, dm->Action})
            t->open();
    }

    ReportDocument run(int start, int scale, const QString& project = QStringLiteral("P")) {
        timeLineDialog->startChoice->button(start)->setChecked(true);
        timeLineDialog->scaleChoice->button(scale)->setChecked(true);
        printProject = project;
        return timeLineReport->run();
    }

private Q_SLOTS:
    void initTestCase_data() { Engines::addRows(); }

    void init() {
        VOK_INIT_ENGINE();
        env = std::make_unique<TestEnvironment>(QDateTime(march1, QTime(9, 0)));
        const QString folder = env->emptyFolder();
        dm = std::make_unique<ProjectData>();
        dm->setPrintProjectSource([this] { return printProject; });
        dm->connectTo(folder);
        dm->store->open();
        timeLineDialog = std::make_unique<TimeLineDialog>(dm.get());
        timeLineReport = std::make_unique<TimeLineReport>(
            dm.get(), [this] { return timeLineDialog->options(); });
        timeLineDialog->setReport(timeLineReport.get());
        timeLineDialog->setPrintProject([this](const QString& name) { printProject = name; });
    }

    void cleanup() {
        vok::Modal::setHandler({});
        vok::Messages::setHandler({});
        vok::ReportPrinter::setHandler({});
        timeLineReport.reset();
        timeLineDialog.reset();
        dm.reset();
        env.reset();
    }

    void pageAndBands() {
        onePlan(2, 4);
        openTables();
        const ReportDocument doc = run(ProjectStart, Day);
        QCOMPARE(doc.pages.size(), 1);
        QCOMPARE(doc.setup.paperSize(), QSizeF(1344, 816));
        QCOMPARE(doc.setup.printableRect(), QRectF(24, 24, 1296, 768));
        const ReportItem title = one(doc, QStringLiteral("QRLabel1"));
        QCOMPARE(title.text, QStringLiteral("Project Time Line"));
        QCOMPARE(title.box.center().x(), 24 + 1296 / 2.0);
        QCOMPARE(title.font, vok::ReportFont(QStringLiteral("Arial"), 14, true));
        // Header 145, project row 24, then the rows.
        QCOMPARE(one(doc, QStringLiteral("QRDBText2")).box.top(), 24.0 + 145 + 8);
        QCOMPARE(one(doc, QStringLiteral("QRShape2")).box.top(), 24.0 + 145 + 24 + 4);
        QCOMPARE(one(doc, QStringLiteral("QRShape3")).box.top(), 24.0 + 145 + 48 + 3);
        QCOMPARE(one(doc, QStringLiteral("QRSysData2")).text, QStringLiteral("1"));
        QCOMPARE(one(doc, QStringLiteral("QRSysData1")).text, QStringLiteral("03/01/2024"));
        QCOMPARE(one(doc, QStringLiteral("QRDBText1")).text, QStringLiteral("03/01/2024"));
        QCOMPARE(one(doc, QStringLiteral("QRSysData3")).text,
                 QStringLiteral("Current date:03/01/2024"));
        const ReportItem separator = one(doc, QStringLiteral("QRShape1"));
        QCOMPARE(separator.lines(), QList<QLineF>{QLineF(176.5, 160, 176.5, 789)});
        for (const char* frame : {"QRShape4", "QRShape6", "QRShape8", "QRShape10"})
            QCOMPARE(one(doc, QLatin1String(frame)).kind, ReportItem::Kind::TopAndBottomLines);
        QCOMPARE(one(doc, QStringLiteral("QRShape10")).bandPos, QPointF(1056, 99));
        QCOMPARE(one(doc, QStringLiteral("QRShape10")).box.width(), 150.0);
        // Printing order within a row: name, bar, dates, arrow, overlay on top.
        QStringList order;
        for (const ReportItem& item : doc.pages[0].items) {
            if (item.band == QLatin1String("QRSubDetail2"))
                order << item.id;
        }
        QCOMPARE(order, (QStringList{"QRDBText4", "QRShape3", "ActionFromDate", "ActionEndDate",
                                     "ActionDateLabel", "QRShapeComplete2"}));
    }

    // "Actual work": under each bar a thin bar from the first to the last day booked on the
    // node or below it, on the bars' scale; none without it, and nothing of it in the layout.
    void actualWorkIsAThinBarUnderEachBarOfTheDaysBooked_data() {
        QTest::addColumn<bool>("on");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QStringList>("booked"); // "a|m from to", days after the start
        QTest::addColumn<QString>("major");      // "left width" in the band, "-" when hidden
        QTest::addColumn<QString>("action");
        QTest::newRow("off") << false << int(Day) << QStringList{"a 2 4"} << ""
                             << "";
        QTest::newRow("day scale") << true << int(Day) << QStringList{"a 2 4"} << "176 30"
                                   << "176 30";
        QTest::newRow("month scale") << true << int(Month) << QStringList{"a 2 4"} << "160 6"
                                     << "160 6";
        QTest::newRow("a row below the major activity counts for it only")
            << true << int(Day) << QStringList{"a 2 4", "m 6 7"} << "176 60"
            << "176 30";
        QTest::newRow("begun before the scale: cut at its edge")
            << true << int(Day) << QStringList{"a -5 1"} << "156 20"
            << "156 20";
        QTest::newRow("nothing booked") << true << int(Day) << QStringList{} << "-"
                                        << "-";
    }
    void actualWorkIsAThinBarUnderEachBarOfTheDaysBooked() {
        QFETCH(bool, on);
        QFETCH(int, scale);
        QFETCH(QStringList, booked);
        QFETCH(QString, major);
        QFETCH(QString, action);
        onePlan(0, 10);
        QSqlQuery key = dm->store->exec(
            QStringLiteral("SELECT Action_project_id, Action_major_id, Action_id FROM action"));
        QVERIFY(key.next());
        for (const QString& b : booked) {
            const QStringList part = b.split(QLatin1Char(' '));
            insert(
                QStringLiteral("INSERT INTO ProjectTS (ProjectTS_project_id, ProjectTS_major_id, "
                               "ProjectTS_action_id, ProjectTS_date_from, ProjectTS_date_to, "
                               "ProjectTS_hours) VALUES (?, ?, ?, ?, ?, 1)"),
                {key.value(0), key.value(1), part[0] == u"a"_qs ? key.value(2) : QVariant(0),
                 iso(march1.addDays(part[1].toInt())), iso(march1.addDays(part[2].toInt()))});
        }
        openTables();
        timeLineDialog->ActualsBox->setChecked(on);
        const ReportDocument doc = run(ProjectStart, scale);
        const auto bar = [&](const char* id, qreal top) -> QString {
            const QList<ReportItem> items = named(doc, QLatin1String(id));
            if (items.isEmpty())
                return {};
            const ReportItem& i = items.first();
            if (!i.visible)
                return QStringLiteral("-");
            // Under the bar, within its row.
            if (i.bandPos.y() != top || i.box.height() != 3 || i.fill != QColor(Qt::black))
                return QStringLiteral("misplaced");
            return QStringLiteral("%1 %2").arg(i.bandPos.x()).arg(i.box.width());
        };
        QCOMPARE(bar("MajorActualWork", 21), major);
        QCOMPARE(bar("ActionActualWork", 20), action);
        QCOMPARE(named(doc, QStringLiteral("ActualWorkLegend")).size(), on ? 1 : 0);
    }

    void bars_data() {
        QTest::addColumn<int>("scale");
        QTest::addColumn<int>("from"); // days after the project's start
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("barShown");
        QTest::addColumn<QList<int>>("action"); // start date, arrow, end date x; -1 hidden
        QTest::addColumn<QList<int>>("major");
        using L = QList<int>;
        QTest::newRow("3 to 5 March")
            << int(Day) << 2 << 4 << 176 << 30 << true << L{211, 268, 285} << L{211, 276, 293};
        QTest::newRow("10 to 12 March: dates before and after, no arrow")
            << int(Day) << 9 << 11 << 246 << 30 << true << L{196, -1, 281} << L{196, -1, 281};
        QTest::newRow("3 to 5 March by month")
            << int(Month) << 2 << 4 << 160 << 6 << true << L{171, 228, 245} << L{171, 236, 253};
        QTest::newRow("one day on the first day")
            << int(Day) << 0 << 0 << 156 << 10 << true << L{171, 228, 245} << L{171, 236, 253};
        QTest::newRow("all 105 days") << int(Day) << 0 << 104 << 156 << 1050 << true
                                      << L{1211, 1268, 1285} << L{1211, 1276, 1293};
        QTest::newRow("past day 104, cut at 1206") << int(Day) << 0 << 199 << 156 << 1050 << true
                                                   << L{1211, 1268, 1285} << L{1211, 1276, 1293};
        QTest::newRow("began before the scale, cut at 156")
            << int(Day) << -5 << 2 << 156 << 30 << true << L{191, 248, 265} << L{191, 256, 273};
        QTest::newRow("ended before the scale: hidden")
            << int(Day) << -10 << -3 << 56 << 80 << false << L{141, 198, 215} << L{141, 206, 223};
        QTest::newRow("left end at 210: dates follow")
            << int(Month) << 27 << 29 << 210 << 6 << true << L{221, 278, 295} << L{221, 286, 303};
        QTest::newRow("left end at 212: dates around")
            << int(Month) << 28 << 30 << 212 << 6 << true << L{162, -1, 223} << L{162, -1, 223};
        QTest::newRow("starts after the scale: start date after the chart")
            << int(Day) << 120 << 125 << 1356 << 0 << false << L{1211, -1, -1} << L{1211, -1, -1};
        QTest::newRow("ends before it starts: dates after the left end")
            << int(Day) << 10 << 5 << 256 << 0 << false << L{261, 318, 335} << L{261, 326, 343};
    }

    void bars() {
        QFETCH(int, scale);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, left);
        QFETCH(int, width);
        QFETCH(bool, barShown);
        QFETCH(QList<int>, action);
        QFETCH(QList<int>, major);
        onePlan(from, to);
        openTables();
        const ReportDocument doc = run(ProjectStart, scale);
        const struct {
            const char* bar;
            const char* fromText;
            const char* arrow;
            const char* toText;
            QList<int> expected;
        } rows[] = {{"QRShape3", "ActionFromDate", "ActionDateLabel", "ActionEndDate", action},
                    {"QRShape2", "MajorFromDate", "MajorDateLabel", "MajorEndDate", major}};
        for (const auto& row : rows) {
            const ReportItem bar = one(doc, QLatin1String(row.bar));
            QCOMPARE(bar.visible, barShown);
            QCOMPARE(bar.bandPos.x(), qreal(left));
            if (barShown) {
                QCOMPARE(bar.box.width(), qreal(width));
                QCOMPARE(bar.box.left(), qreal(left + 24)); // page x
            }
            const char* const texts[] = {row.fromText, row.arrow, row.toText};
            for (int i = 0; i < 3; ++i) {
                const ReportItem text = one(doc, QLatin1String(texts[i]));
                QCOMPARE(text.visible, row.expected[i] >= 0);
                if (row.expected[i] >= 0)
                    QCOMPARE(text.bandPos.x(), qreal(row.expected[i]));
            }
        }
        QCOMPARE(one(doc, QStringLiteral("ActionFromDate")).text,
                 march1.addDays(from).toString(QStringLiteral("MM/dd/yyyy")));
        QCOMPARE(one(doc, QStringLiteral("MajorDateLabel")).text, QStringLiteral("-->"));
    }

    void startTodayAtSixInTheEvening_data() {
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("width");
        QTest::newRow("one day from today: 2 units") << 1 << 2;
        QTest::newRow("five days from today: cut at 156") << 5 << 42;
    }

    void startTodayAtSixInTheEvening() {
        QFETCH(int, days);
        QFETCH(int, width);
        vok::Clock::setFixed(QDateTime(march1, QTime(18, 0)));
        onePlan(0, days - 1);
        openTables();
        const ReportDocument doc = run(Today, Day);
        const ReportItem bar = one(doc, QStringLiteral("QRShape3"));
        QVERIFY(bar.visible);
        QCOMPARE(bar.bandPos.x(), 156.0);
        QCOMPARE(bar.box.width(), qreal(width));
        // The current-date line lies in day column 0: its centre at band x 162.
        const ReportItem line = one(doc, QStringLiteral("QRShape11"));
        QVERIFY(line.visible);
        QCOMPARE(line.box.left(), 181.0);
        QCOMPARE(line.lines().first().x1() - 24, 162.0);
        QCOMPARE(one(doc, QStringLiteral("QRSysData3")).bandPos.x(), 186.0);
    }

    void colours_data() {
        QTest::addColumn<bool>("completed");
        QTest::addColumn<bool>("critical");
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("days");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<int>("overlay"); // width, -1 hidden
        const QColor green(0, 128, 0), red(255, 0, 0), gray(128, 128, 128);
        QTest::newRow("completed: green, no overlay") << true << true << 50 << 4 << green << -1;
        QTest::newRow("critical: red") << false << true << 50 << 4 << red << 20;
        QTest::newRow("other: gray") << false << false << 25 << 4 << gray << 10;
        QTest::newRow("0 %: no overlay") << false << false << 0 << 4 << gray << -1;
        QTest::newRow("100 %: the whole bar") << false << false << 100 << 4 << gray << 40;
        QTest::newRow("above 100 %: no overlay") << false << false << 101 << 4 << gray << -1;
        QTest::newRow("negative: no overlay") << false << false << -10 << 4 << gray << -1;
        QTest::newRow("29 % of 100 is 29") << false << false << 29 << 10 << gray << 29;
    }

    void colours() {
        QFETCH(bool, completed);
        QFETCH(bool, critical);
        QFETCH(int, percent);
        QFETCH(int, days);
        QFETCH(QColor, colour);
        QFETCH(int, overlay);
        onePlan(0, days - 1, critical, completed, percent);
        openTables();
        const ReportDocument doc = run(ProjectStart, Day);
        for (const char* bar : {"QRShape2", "QRShape3"}) {
            const ReportItem item = one(doc, QLatin1String(bar));
            QCOMPARE(item.fill, colour);
            QCOMPARE(item.pen, colour);
        }
        for (const char* name : {"QRShapeComplete1", "QRShapeComplete2"}) {
            const ReportItem item = one(doc, QLatin1String(name));
            QCOMPARE(item.visible, overlay >= 0);
            QCOMPARE(item.fill, QColor(128, 0, 128));
            QCOMPARE(item.pen, QColor(128, 0, 128));
            if (overlay >= 0) {
                QCOMPARE(item.bandPos.x(), 156.0);
                QCOMPARE(item.box.width(), qreal(overlay));
            }
        }
    }

    void currentDateLine_data() {
        QTest::addColumn<int>("scale");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<int>("x");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<int>("marker");
        const auto at = [](int day) { return QDateTime(march1.addDays(day), QTime(9, 0)); };
        // The clock says 9:00, so now - S is a fraction above the whole days.
        QTest::newRow("day, c = -1: left of the chart") << int(Day) << at(-2) << 171 << true << 176;
        QTest::newRow("day, c = -2: left of the chart") << int(Day) << at(-3) << 161 << true << 166;
        QTest::newRow("day, c = -3: hidden") << int(Day) << at(-4) << 151 << false << 167;
        QTest::newRow("day, project starts tomorrow: column 0")
            << int(Day) << at(-1) << 181 << true << 186;
        QTest::newRow("day, ten days in") << int(Day) << at(10) << 281 << true << 286;
        QTest::newRow("month, c = -9") << int(Month) << at(-10) << 158 << true << 163;
        QTest::newRow("month, c = -10: at 156") << int(Month) << at(-11) << 156 << true << 161;
        QTest::newRow("month, c = -11: hidden") << int(Month) << at(-12) << 154 << false << 167;
        QTest::newRow("month, a month in") << int(Month) << at(31) << 238 << true << 243;
    }

    void currentDateLine() {
        QFETCH(int, scale);
        QFETCH(QDateTime, now);
        QFETCH(int, x);
        QFETCH(bool, shown);
        QFETCH(int, marker);
        vok::Clock::setFixed(now);
        onePlan(0, 3);
        openTables();
        const ReportDocument doc = run(ProjectStart, scale);
        const ReportItem line = one(doc, QStringLiteral("QRShape11"));
        QCOMPARE(line.visible, shown);
        QCOMPARE(line.box, QRectF(x, 120, scale == Day ? 10 : 2, 669));
        QCOMPARE(line.penStyle, Qt::DotLine);
        QCOMPARE(line.band, QString()); // on the page, not in a band
        QCOMPARE(one(doc, QStringLiteral("QRSysData3")).bandPos, QPointF(marker, 79));
        // The project-end line: 30 June is day 121, neither hidden nor limited.
        const ReportItem end = one(doc, QStringLiteral("QRShape7"));
        QVERIFY(end.visible);
        QCOMPARE(end.box.left(), scale == Day ? 1391.0 : 418.0);
        QCOMPARE(end.penStyle, Qt::SolidLine);
    }

    void markerKeepsItsPlaceWhenTheLineIsHidden() {
        onePlan(0, 3);
        openTables();
        vok::Clock::setFixed(QDateTime(march1.addDays(10), QTime(9, 0)));
        QCOMPARE(one(run(ProjectStart, Day), QStringLiteral("QRSysData3")).bandPos.x(), 286.0);
        vok::Clock::setFixed(QDateTime(march1.addDays(-4), QTime(9, 0)));
        const ReportDocument doc = run(ProjectStart, Day);
        QVERIFY(!one(doc, QStringLiteral("QRShape11")).visible);
        QCOMPARE(one(doc, QStringLiteral("QRSysData3")).bandPos.x(), 286.0);
    }

    void monthLabels_data() {
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("across two year ends")
            << QDate(2024, 9, 20)
            << QStringList{"September", "October", "November", "December", "January", "February",
                           "March",     "April",   "May",      "June",     "July",    "August",
                           "September", "October", "November", "December", "January"};
        QTest::newRow("from January")
            << QDate(2024, 1, 31)
            << QStringList{"January", "February", "March",     "April",   "May",      "June",
                           "July",    "August",   "September", "October", "November", "December",
                           "January", "February", "March",     "April",   "May"};
    }

    void monthLabels() {
        QFETCH(QDate, start);
        QFETCH(QStringList, labels);
        addProject(QStringLiteral("P"), start, start.addDays(30));
        openTables();
        QStringList texts;
        const ReportDocument doc = run(ProjectStart, Month);
        int i = 0;
        for (const ReportItem& item : doc.pages[0].items) {
            if (item.tag != 9)
                continue;
            texts << item.text;
            QCOMPARE(item.bandPos, QPointF(156 + 60 * i++, 120));
            QCOMPARE(item.font, vok::ReportFont(QStringLiteral("Arial"), 8));
        }
        QCOMPARE(texts, labels);
    }

    void dayLabels() {
        onePlan(0, 3);
        openTables();
        const ReportDocument doc = run(ProjectStart, Day);
        QList<ReportItem> days, initials;
        for (const ReportItem& item : doc.pages[0].items) {
            if (item.tag == 9)
                (item.bandPos.y() == 120 ? days : initials) << item;
        }
        QCOMPARE(days.size(), 105);
        QCOMPARE(initials.size(), 105);
        // 1 March 2024 is a Friday; day 31 is 1 April, a Monday.
        QCOMPARE(days[0].text, QStringLiteral("1"));
        QCOMPARE(initials[0].text, QStringLiteral("F"));
        QCOMPARE(initials[2].text, QStringLiteral("S"));
        QCOMPARE(days[31].text, QStringLiteral("1"));
        QCOMPARE(initials[31].text, QStringLiteral("M"));
        QCOMPARE(days[104].bandPos.x(), 156.0 + 1040);
        QCOMPARE(initials[104].bandPos.y(), 101.0);
        QCOMPARE(days[0].box.width(), 9.0);
        QCOMPARE(days[0].font, vok::ReportFont(QStringLiteral("Arial"), 6));
        QCOMPARE(initials[0].font, vok::ReportFont(QStringLiteral("Courier New"), 6));
    }

    void scaleLabelsAreReplacedAtEveryRun() {
        onePlan(0, 3);
        openTables();
        const auto onPage = [](const ReportDocument& doc) {
            int n = 0;
            for (const ReportItem& item : doc.pages[0].items)
                n += item.tag == 9 ? 1 : 0;
            return n;
        };
        for (const auto& [scale, count] : {std::pair{Day, 210}, {Month, 17}, {Day, 210}}) {
            QCOMPARE(onPage(run(ProjectStart, scale)), count);
            QCOMPARE(timeLineReport->pageHeader->elementsWithTag(9).size(), count);
        }
    }

    void endOfProjectCaption_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QDate>("end");
        QTest::addColumn<int>("x");
        QTest::newRow("day") << int(ProjectStart) << int(Day) << march1.addDays(10) << 246;
        QTest::newRow("day, below the limit")
            << int(ProjectStart) << int(Day) << march1.addDays(89) << 1036;
        QTest::newRow("day, capped at 1050")
            << int(ProjectStart) << int(Day) << march1.addDays(104) << 1050;
        QTest::newRow("month") << int(ProjectStart) << int(Month) << march1.addDays(100) << 354;
        QTest::newRow("ended before today: left of the chart")
            << int(Today) << int(Day) << QDate(2024, 2, 1) << -147;
    }

    void endOfProjectCaption() {
        QFETCH(int, start);
        QFETCH(int, scale);
        QFETCH(QDate, end);
        QFETCH(int, x);
        addProject(QStringLiteral("P"), march1, end);
        openTables();
        const ReportDocument doc = run(start, scale);
        const ReportItem caption = one(doc, QStringLiteral("QRLabel8"));
        QCOMPARE(caption.text, QStringLiteral("Project End date"));
        QCOMPARE(caption.bandPos, QPointF(x, 3));
        QCOMPARE(one(doc, QStringLiteral("QRDBText5")).bandPos, QPointF(x + 88, 3));
        QCOMPARE(one(doc, QStringLiteral("QRDBText5")).text,
                 end.toString(QStringLiteral("MM/dd/yyyy")));
        // From 1050 on, caption and date still fit left of the chart's end.
        QVERIFY(caption.box.right() < x + 88 + 24);
    }

    void pagination_data() {
        QTest::addColumn<int>("actions");
        QTest::addColumn<QList<int>>("rows"); // bar rows per page
        QTest::newRow("24 rows fit the first page") << 23 << QList<int>{24};
        QTest::newRow("the 25th row starts page 2") << 24 << QList<int>{24, 1};
        QTest::newRow("later pages hold 25") << 49 << QList<int>{24, 25, 1};
    }

    void pagination() {
        QFETCH(int, actions);
        QFETCH(QList<int>, rows);
        const qlonglong p = addProject(QStringLiteral("P"), march1, march1.addDays(60));
        const qlonglong m = addMajor(p, march1, march1.addDays(60));
        for (int i = 0; i < actions; ++i)
            addAction(p, m, march1.addDays(i), march1.addDays(i + 2));
        openTables();
        const ReportDocument doc = run(ProjectStart, Day);
        QCOMPARE(doc.pages.size(), rows.size());
        for (int i = 0; i < doc.pages.size(); ++i) {
            const vok::ReportPage& page = doc.pages[i];
            QCOMPARE(countInBand(page, QStringLiteral("QRSubDetail1")) +
                         countInBand(page, QStringLiteral("QRSubDetail2")),
                     rows[i]);
            // The project row only at the top of the project's first page.
            QCOMPARE(countInBand(page, QStringLiteral("QRBand2")), i == 0 ? 1 : 0);
            // The whole header and the three lines on every page, the lines last.
            QCOMPARE(page.itemsNamed(QStringLiteral("QRLabel1")).size(), 1);
            QCOMPARE(one(doc, QStringLiteral("QRSysData2"), i).text, QString::number(i + 1));
            int tagged = 0;
            for (const ReportItem& item : page.items)
                tagged += item.tag == 9 ? 1 : 0;
            QCOMPARE(tagged, 210);
            const qsizetype n = page.items.size();
            QCOMPARE(page.items[n - 3].id, QStringLiteral("QRShape1"));
            QCOMPARE(page.items[n - 2].id, QStringLiteral("QRShape11"));
            QCOMPARE(page.items[n - 1].id, QStringLiteral("QRShape7"));
            for (int k = 1; k <= 3; ++k)
                QCOMPARE(page.items[n - k].box,
                         doc.pages[0].items[doc.pages[0].items.size() - k].box);
        }
        if (doc.pages.size() > 1) {
            // Page 2 continues right under its header.
            const QList<ReportItem> bars = named(doc, QStringLiteral("QRShape3"), 1);
            QCOMPARE(bars.first().box.top(), 24.0 + 145 + 3);
        }
    }

    void projectsOfTheSameNameGetTheirOwnPages() {
        const qlonglong a = addProject(QStringLiteral("Twin"), march1, march1.addDays(60));
        const QDate laterStart = march1.addDays(7);
        const qlonglong b = addProject(QStringLiteral("Twin"), laterStart, laterStart.addDays(84));
        addProject(QStringLiteral("Other"), march1, march1.addDays(5));
        addAction(a, addMajor(a, march1.addDays(2), march1.addDays(4)), march1.addDays(2),
                  march1.addDays(4));
        addAction(b, addMajor(b, laterStart.addDays(2), laterStart.addDays(4)),
                  laterStart.addDays(2), laterStart.addDays(4));
        openTables();
        const ReportDocument doc = run(ProjectStart, Day, QStringLiteral("Twin"));
        QCOMPARE(doc.pages.size(), 2);
        for (int page = 0; page < 2; ++page) {
            // Bars and caption from each project's own start.
            QCOMPARE(one(doc, QStringLiteral("QRShape3"), page).bandPos.x(), 176.0);
            QCOMPARE(one(doc, QStringLiteral("QRDBText2"), page).text, QStringLiteral("Twin"));
            // Scale labels and dated lines from the first project, computed at the start.
            QCOMPARE(named(doc, QStringLiteral("QRShape11"), page).first().box.left(), 181.0);
            QCOMPARE(named(doc, QStringLiteral("QRShape7"), page).first().box.left(), 781.0);
        }
        QCOMPARE(one(doc, QStringLiteral("QRLabel8"), 0).bandPos.x(), 746.0);
        QCOMPARE(one(doc, QStringLiteral("QRLabel8"), 1).bandPos.x(), 986.0);
        QCOMPARE(one(doc, QStringLiteral("QRDBText1"), 1).text, QStringLiteral("03/08/2024"));
        for (const ReportItem& item : doc.pages[1].items) {
            if (item.tag == 9 && item.bandPos == QPointF(156, 120))
                QCOMPARE(item.text, QStringLiteral("1"));
        }
    }

    void noProjectOfThatName_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("barsShown");
        QTest::newRow("project start: day 0, bars at 156") << int(ProjectStart) << true;
        QTest::newRow("today: nothing shows") << int(Today) << false;
    }

    void noProjectOfThatName() {
        QFETCH(int, start);
        QFETCH(bool, barsShown);
        onePlan(0, 3);
        openTables();
        const ReportDocument doc =
            run(start, Day, QStringLiteral("p")); // the filter is case-sensitive
        QCOMPARE(doc.pages.size(), 1);
        QCOMPARE(named(doc, QStringLiteral("QRDBText2")).size(), 1);
        QCOMPARE(one(doc, QStringLiteral("QRDBText2")).text, QString());
        for (const char* bar : {"QRShape2", "QRShape3"}) {
            QCOMPARE(named(doc, QLatin1String(bar)).size(), 1);
            const ReportItem item = one(doc, QLatin1String(bar));
            QCOMPARE(item.visible, barsShown);
            if (barsShown) {
                QCOMPARE(item.bandPos.x(), 156.0);
                QCOMPARE(item.box.width(), 10.0);
                QCOMPARE(item.fill, QColor(128, 128, 128));
            }
        }
        QCOMPARE(one(doc, QStringLiteral("ActionDateLabel")).visible, true);
        QCOMPARE(one(doc, QStringLiteral("ActionFromDate")).text, QString());
        QVERIFY(!dm->projects->isFiltered());
    }

    void rowsWithoutChildrenPrintOneEmptyRow_data() {
        QTest::addColumn<bool>("withMajor");
        QTest::newRow("major activity without actions") << true;
        QTest::newRow("project without major activities") << false;
    }

    void rowsWithoutChildrenPrintOneEmptyRow() {
        QFETCH(bool, withMajor);
        const qlonglong p = addProject(QStringLiteral("P"), march1, march1.addDays(30));
        if (withMajor)
            addMajor(p, march1, march1.addDays(3));
        openTables();
        const ReportDocument doc = run(ProjectStart, Day);
        QCOMPARE(named(doc, QStringLiteral("QRShape2")).size(), 1);
        QCOMPARE(one(doc, QStringLiteral("QRShape2")).visible, withMajor);
        QCOMPARE(named(doc, QStringLiteral("QRShape3")).size(), 1);
        const ReportItem empty = one(doc, QStringLiteral("QRShape3"));
        QVERIFY(!empty.visible);
        // Its empty dates lie left of the band, where nothing is seen.
        const ReportItem date = one(doc, QStringLiteral("ActionFromDate"));
        QVERIFY(date.bandPos.x() + date.box.width() < 0);
        QVERIFY(date.clip.left() >= 24);
    }

    void menuItemFillsTheDialog() {
        addProject(QStringLiteral("Alpha"), march1, march1);
        addProject(QStringLiteral("Beta"), march1, march1);
        addProject(QStringLiteral("Alpha"), march1, march1);
        openTables();
        QList<QStringList> lists;
        vok::Modal::setHandler([&](QDialog* d) {
            if (d != timeLineDialog.get())
                return int(QDialog::Rejected);
            QStringList items;
            for (int i = 0; i < timeLineDialog->projectBox()->count(); ++i)
                items << timeLineDialog->projectBox()->itemText(i);
            lists << items << QStringList{timeLineDialog->projectBox()->currentText()};
            timeLineDialog->startChoice->button(1)->setChecked(true);
            timeLineDialog->showPrintDialog->setChecked(true);
            return int(QDialog::Rejected);
        });
        timeLineDialog->scaleChoice->button(1)->setChecked(true);
        QAction menuItem;
        timeLineDialog->connectMenu(&menuItem);
        menuItem.trigger();
        // The walk leaves the table on its last record.
        QCOMPARE(dm->projects->fieldByName(QStringLiteral("Zel_Project_id")).asInteger(), 3);
        timeLineDialog->projectBox()->setEditText(QStringLiteral("typed"));
        menuItem.trigger();
        QCOMPARE(lists.size(), 4);
        for (int i : {0, 2}) {
            QCOMPARE(lists[i], (QStringList{"Alpha", "Beta", "Alpha"}));
            QCOMPARE(lists[i + 1], QStringList{"Alpha"});
        }
        // Choices last from one opening to the next.
        QCOMPARE(timeLineDialog->startChoice->checkedId(), 1);
        QCOMPARE(timeLineDialog->scaleChoice->checkedId(), 1);
        QVERIFY(timeLineDialog->showPrintDialog->isChecked());
        QCOMPARE(timeLineDialog->windowTitle(), QStringLiteral("Print Time Line report"));
        QCOMPARE(timeLineDialog->size(), QSize(544, 320));
    }

    void printAndPreviewRunWithTheFilterOn_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("showDialog");
        QTest::addColumn<int>("answer");
        QTest::newRow("preview") << "Button2" << false << int(QDialog::Rejected);
        QTest::newRow("print") << "Button1" << false << int(QDialog::Accepted);
        QTest::newRow("print after the set-up dialog")
            << "Button1" << true << int(QDialog::Accepted);
        QTest::newRow("print, set-up dialog cancelled")
            << "Button1" << true << int(QDialog::Rejected);
    }

    void printAndPreviewRunWithTheFilterOn() {
        QFETCH(QString, button);
        QFETCH(bool, showDialog);
        QFETCH(int, answer);
        onePlan(0, 3);
        addProject(QStringLiteral("Q"), march1, march1);
        openTables();
        timeLineDialog->projectBox()->setEditText(QStringLiteral("P"));
        timeLineDialog->showPrintDialog->setChecked(showDialog);
        QStringList seen;
        vok::Modal::setHandler([&](QDialog* d) {
            if (qobject_cast<QPrintDialog*>(d))
                seen << QStringLiteral("set-up");
            if (auto* preview = qobject_cast<vok::ReportPreview*>(d)) {
                seen << QStringLiteral("preview %1 page").arg(preview->pages()->pageCount());
            }
            seen << QStringLiteral("filter %1 %2")
                        .arg(dm->projects->isFiltered())
                        .arg(dm->projects->recordCount());
            return answer;
        });
        vok::ReportPrinter::setHandler([&](QPrinter&, const ReportDocument& doc) {
            seen << QStringLiteral("printed %1 page").arg(doc.pages.size());
            seen << QStringLiteral("filter %1 %2")
                        .arg(dm->projects->isFiltered())
                        .arg(dm->projects->recordCount());
        });
        timeLineDialog->findChild<QPushButton*>(button)->click();
        QStringList expected;
        if (button == QLatin1String("Button2"))
            expected << "preview 1 page"
                     << "filter 1 1";
        else if (showDialog)
            expected << "set-up"
                     << "filter 1 1"
                     << "printed 1 page"
                     << "filter 1 1";
        else
            expected << "printed 1 page"
                     << "filter 1 1";
        QCOMPARE(seen, expected);
        QCOMPARE(printProject, QStringLiteral("P"));
        QVERIFY(!dm->projects->isFiltered());
        QCOMPARE(dm->projects->recordCount(), 2);
    }

    void anErrorEndsTheRunWithTheFilterOff() {
        onePlan(0, 3);
        openTables();
        dm->Action->close();
        QStringList errors;
        vok::Messages::setHandler([&](const vok::Messages::Request& r) {
            errors << r.text;
            return QMessageBox::Ok;
        });
        timeLineDialog->projectBox()->setEditText(QStringLiteral("P"));
        timeLineDialog->previewButton->click();
        QCOMPARE(errors.size(), 1);
        QVERIFY(!dm->projects->isFiltered());
    }

    void closeButtonClosesTheDialog() {
        timeLineDialog->show();
        QVERIFY(timeLineDialog->isVisible());
        timeLineDialog->closeButton->click();
        QVERIFY(!timeLineDialog->isVisible());
    }

    void tilesCoverEveryDayOnce_data() {
        QTest::addColumn<int>("scale");
        QTest::addColumn<int>("daysPerPage");
        QTest::addColumn<int>("unit"); // report units a day
        QTest::newRow("two years by day") << int(Day) << 105 << 10;
        QTest::newRow("two years by month") << int(Month) << 525 << 2;
    }

    void tilesCoverEveryDayOnce() {
        QFETCH(int, scale);
        QFETCH(int, daysPerPage);
        QFETCH(int, unit);
        const QDate end = march1.addYears(2).addDays(-1);
        const qlonglong p = addProject(QStringLiteral("P"), march1, end);
        // The action is 30 % done: its first 30 % of the days show the share, on whichever
        // pages they fall.
        addAction(p, addMajor(p, march1, end), march1, end, false, false, 30);
        openTables();
        timeLineDialog->TilesBox->setChecked(true);
        const ReportDocument doc = run(ProjectStart, scale);
        const int days = static_cast<int>(march1.daysTo(end)) + 1;
        const int across = (days + daysPerPage - 1) / daysPerPage;
        QCOMPARE(doc.pages.size(), across);
        qreal covered = 0, shared = 0;
        QStringList dayNumbers;
        for (int k = 0; k < across; ++k) {
            // Each sheet says which it is and which days its scale shows, and the month and
            // year of its first day stand over the scale's start.
            const QDate first = march1.addDays(k * daysPerPage);
            QCOMPARE(
                one(doc, QStringLiteral("TileMark"), k).text,
                QStringLiteral("page %1 of %2: %3 to %4")
                    .arg(k + 1)
                    .arg(across)
                    .arg(first.toString(QStringLiteral("MM/dd/yyyy")),
                         first.addDays(daysPerPage - 1).toString(QStringLiteral("MM/dd/yyyy"))));
            QVERIFY(one(doc, QStringLiteral("TileMark"), k).visible);
            QCOMPARE(one(doc, QStringLiteral("QRSysData2"), k).text, QString::number(k + 1));
            QList<ReportItem> calendar;
            for (const ReportItem& item : doc.pages[k].items) {
                if (item.tag == 10)
                    calendar << item;
            }
            QVERIFY(!calendar.isEmpty());
            QCOMPARE(calendar.first().bandPos.x(), 156.0);
            QVERIFY2(calendar.first().text.endsWith(QString::number(first.year())),
                     qPrintable(calendar.first().text));
            // The current date (1 March) and its line on the first sheet only.
            QCOMPARE(one(doc, QStringLiteral("QRSysData3"), k).visible, k == 0);
            QCOMPARE(one(doc, QStringLiteral("QRShape11"), k).visible, k == 0);
            // The names on every page.
            QCOMPARE(one(doc, QStringLiteral("QRDBText3"), k).text, QStringLiteral("Major"));
            QCOMPARE(one(doc, QStringLiteral("QRDBText4"), k).text, QStringLiteral("Action"));
            // The bar picks up where the page before left it.
            const ReportItem bar = one(doc, QStringLiteral("QRShape2"), k);
            QVERIFY(bar.visible);
            QCOMPARE(bar.bandPos.x(), 156.0);
            QCOMPARE(bar.box.width(), std::min<qreal>(1050, (days - k * daysPerPage) * unit));
            covered += bar.box.width();
            const ReportItem share = one(doc, QStringLiteral("QRShapeComplete2"), k);
            if (share.visible) {
                QCOMPARE(share.bandPos.x(), 156.0);
                shared += share.box.width();
            }
            QVERIFY(bar.box.right() <= 1206 + 24);
            for (const ReportItem& item : doc.pages[k].items) {
                if (item.tag == 9 && item.bandPos.y() == 120)
                    dayNumbers << item.text;
            }
        }
        QCOMPARE(covered, qreal(days * unit));
        QCOMPARE(shared, std::trunc(30 * days * unit / 100.0));
        if (scale == Day) {
            // The scale's days, page after page, are the project's days in a row.
            QCOMPARE(dayNumbers.size(), across * daysPerPage);
            for (int i = 0; i < dayNumbers.size(); ++i)
                QCOMPARE(dayNumbers[i], QString::number(march1.addDays(i).day()));
        }
        // Nothing lies off the paper.
        for (const vok::ReportPage& page : doc.pages) {
            for (const ReportItem& item : page.items) {
                if (item.visible)
                    QVERIFY2(item.box.left() >= 0 && item.box.right() <= 1344, qPrintable(item.id));
            }
        }

        // Off, the page is the one it always was.
        timeLineDialog->TilesBox->setChecked(false);
        const ReportDocument single = run(ProjectStart, scale);
        QCOMPARE(single.pages.size(), 1);
        QVERIFY(!one(single, QStringLiteral("TileMark")).visible);
        QCOMPARE(one(single, QStringLiteral("QRShape2")).box.width(), 1050.0);
    }

    void tilesAreAsManyAsTheDaysNeed_data() {
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("actions");
        QTest::addColumn<int>("sheets");
        QTest::newRow("105 days fill one page's scale") << 105 << 1 << 1;
        QTest::newRow("106 days need a second page across") << 106 << 1 << 2;
        QTest::newRow("two pages down, two across: four sheets") << 106 << 30 << 4;
    }

    void tilesAreAsManyAsTheDaysNeed() {
        QFETCH(int, days);
        QFETCH(int, actions);
        QFETCH(int, sheets);
        const QDate end = march1.addDays(days - 1);
        const qlonglong p = addProject(QStringLiteral("P"), march1, end);
        const qlonglong m = addMajor(p, march1, end);
        for (int i = 0; i < actions; ++i)
            addAction(p, m, march1, end);
        openTables();
        timeLineDialog->TilesBox->setChecked(true);
        const ReportDocument doc = run(ProjectStart, Day);
        QCOMPARE(doc.pages.size(), sheets);
        // Sheets are numbered in reading order, row after row of pages side by side.
        for (int k = 0; k < sheets; ++k) {
            QCOMPARE(doc.pages[k].number, k + 1);
            QCOMPARE(one(doc, QStringLiteral("QRSysData2"), k).text, QString::number(k + 1));
            const ReportItem mark = one(doc, QStringLiteral("TileMark"), k);
            QCOMPARE(mark.visible, sheets > 1);
            if (sheets > 1)
                QVERIFY2(
                    mark.text.startsWith(QStringLiteral("page %1 of %2:").arg(k + 1).arg(sheets)),
                    qPrintable(mark.text));
        }
        if (sheets == 4) // the first row's pages show its first rows, the second row the rest
            QCOMPARE(named(doc, QStringLiteral("QRDBText4"), 1).size(),
                     named(doc, QStringLiteral("QRDBText4"), 0).size());
    }

    // Over the day numbers, the month and year of each stretch of days on the page; over the
    // month names, the year: only where the page cannot be dated from the project's start.
    void calendarBand_data() {
        QTest::addColumn<int>("scale");
        QTest::addColumn<QDate>("start");
        QTest::addColumn<int>("days");           // of the project
        QTest::addColumn<QStringList>("labels"); // "x text"
        QTest::newRow("a project within the page: none")
            << int(Day) << march1 << 60 << QStringList{};
        QTest::newRow("a longer one by day")
            << int(Day) << march1 << 200
            << QStringList{"156 March 2024", "466 April 2024", "766 May 2024", "1076 June 2024"};
        QTest::newRow("a month's last days: the shorter names that fit")
            << int(Day) << QDate(2024, 3, 29) << 200
            << QStringList{"156 Mar", "186 April 2024", "486 May 2024", "796 June 2024",
                           "1096 July 2024"};
        QTest::newRow("by month: the years") << int(Month) << QDate(2024, 9, 20) << 800
                                             << QStringList{"156 2024", "396 2025", "1116 2026"};
    }

    void calendarBand() {
        QFETCH(int, scale);
        QFETCH(QDate, start);
        QFETCH(int, days);
        QFETCH(QStringList, labels);
        addProject(QStringLiteral("P"), start, start.addDays(days - 1));
        openTables();
        const ReportDocument doc = run(ProjectStart, scale);
        QStringList shown;
        qreal dayTop = 1e9, initialsBottom = 0;
        for (const ReportItem& item : doc.pages[0].items) {
            if (item.tag == 9 && item.bandPos.y() == 101)
                initialsBottom = std::max(initialsBottom, item.box.bottom());
            else if (item.tag == 9)
                dayTop = std::min(dayTop, item.box.top());
        }
        for (const ReportItem& item : doc.pages[0].items) {
            if (item.tag != 10)
                continue;
            shown << QStringLiteral("%1 %2").arg(item.bandPos.x()).arg(item.text);
            QVERIFY(!item.overflows);
            // Between the weekday initials and the day numbers (or the month names).
            QVERIFY(item.box.bottom() <= dayTop);
            if (scale == Day)
                QVERIFY(item.box.top() >= initialsBottom);
        }
        QCOMPARE(shown, labels);
        // Made for the run, replaced at the next.
        QCOMPARE(timeLineReport->pageHeader->elementsWithTag(10).size(), labels.size());
    }

    // A caption and its date never print over each other, however long the language makes the
    // caption, and both end left of the chart's end.
    void endCaptionAndDateNeverOverlap_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("endDay");
        QTest::newRow("English") << "Project End date" << 10;
        QTest::newRow("Spanish") << "Fecha Final Del Proyecto" << 10;
        QTest::newRow("Spanish, at the chart's end") << "Fecha Final Del Proyecto" << 104;
        QTest::newRow("French, past the scale")
            << QString::fromUtf8("Date de fin du projet") << 300;
    }

    void endCaptionAndDateNeverOverlap() {
        QFETCH(QString, caption);
        QFETCH(int, endDay);
        addProject(QStringLiteral("P"), march1, march1.addDays(endDay));
        openTables();
        timeLineReport->projectEndLabel->setText(caption);
        const ReportDocument doc = run(ProjectStart, Day);
        const ReportItem label = one(doc, QStringLiteral("QRLabel8"));
        const ReportItem date = one(doc, QStringLiteral("QRDBText5"));
        QCOMPARE(label.text, caption);
        const qreal captionEnd =
            label.box.left() + vok::ReportFont(QStringLiteral("Arial"), 8).textWidth(caption);
        QVERIFY2(date.box.left() >= captionEnd + 4, qPrintable(QString::number(date.box.left())));
        QVERIFY(date.box.left() >= label.box.left() + 88); // the English place, at the least
        QVERIFY2(date.box.left() +
                         vok::ReportFont(QStringLiteral("Arial"), 8).textWidth(date.text) <=
                     1206 + 24,
                 qPrintable(QString::number(date.box.left())));
        // The date at the run's "Date:" never covers its caption either.
        QVERIFY(one(doc, QStringLiteral("QRSysData1")).box.left() >=
                one(doc, QStringLiteral("QRLabel3")).box.right());
        timeLineReport->projectEndLabel->setText(QStringLiteral("Project End date"));
    }

    // The demo's first project began 40 days ago; its first action, completed, takes days 0 to 6.
    // The scale starts at the project's start unless asked to start today.
    void commandLineLayout_data() {
        QTest::addColumn<QStringList>("start");
        QTest::addColumn<int>("todayDay"); // the day of the scale the current date's line is on
        QTest::newRow("default") << QStringList() << 40;
        QTest::newRow("project") << QStringList{QStringLiteral("--start"),
                                                QStringLiteral("project")}
                                 << 40;
        QTest::newRow("today") << QStringList{QStringLiteral("--start"), QStringLiteral("today")}
                               << 0;
    }
    void commandLineLayout() {
        QFETCH(QStringList, start);
        QFETCH(int, todayDay);
        const QString demo = env->demoFolder();
        const QString json = QDir(env->root()).filePath(QStringLiteral("layout.json"));
        QProcess p;
        p.start(QStringLiteral(VOKCTL_PATH),
                QStringList{QStringLiteral("report"), QStringLiteral("timeline"),
                            QStringLiteral("--data"), demo, QStringLiteral("--project"),
                            QStringLiteral("Riverside Library Renovation"),
                            QStringLiteral("--today"), QStringLiteral("2024-03-01T09:00"),
                            QStringLiteral("--pdf"),
                            QDir(env->root()).filePath(QStringLiteral("t.pdf")),
                            QStringLiteral("--layout-json"), json} +
                    start);
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
        QFile f(json);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QJsonObject root = QJsonDocument::fromJson(f.readAll()).object();
        QCOMPARE(root.value(QStringLiteral("paper")).toString(), QStringLiteral("legal"));
        QCOMPARE(root.value(QStringLiteral("orientation")).toString(), QStringLiteral("landscape"));
        const QJsonArray items = root.value(QStringLiteral("pages"))
                                     .toArray()
                                     .at(0)
                                     .toObject()
                                     .value(QStringLiteral("items"))
                                     .toArray();
        QJsonObject bar, line;
        for (const QJsonValue& v : items) {
            const QJsonObject o = v.toObject();
            const QString id = o.value(QStringLiteral("id")).toString();
            if (id == QLatin1String("QRShape3") && bar.isEmpty())
                bar = o;
            if (id == QLatin1String("QRShape11"))
                line = o;
        }
        QCOMPARE(line.value(QStringLiteral("x")).toDouble(), 10.0 * todayDay + 181);
        if (todayDay == 0)
            return; // the action's bar lies before the scale
        QCOMPARE(bar.value(QStringLiteral("bandX")).toDouble(), 156.0);
        QCOMPARE(bar.value(QStringLiteral("x")).toDouble(), 180.0);
        QCOMPARE(bar.value(QStringLiteral("width")).toDouble(), 70.0);
        QCOMPARE(bar.value(QStringLiteral("fill")).toString(), QStringLiteral("#008000"));
        QCOMPARE(bar.value(QStringLiteral("band")).toString(), QStringLiteral("QRSubDetail2"));
        QCOMPARE(line.value(QStringLiteral("penStyle")).toString(), QStringLiteral("dotted"));
        QCOMPARE(line.value(QStringLiteral("visible")).toBool(), true);
    }
};

QTEST_MAIN(TestTimeline)
#include "tst_timeline.moc"

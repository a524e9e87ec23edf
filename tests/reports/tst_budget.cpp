// "Budget and actuals" and the figures behind it, on both engines: every row the report prints
// and a node's page figures against what plain SQL, written here on its own, says the stored
// data come to; its bars, totals and the CSV that vokctl writes.
#include "data/nodefigures.h"
#include "framework/dataset/store.h"
#include "framework/report/reportdocument.h"
#include "framework/report/reportprinter.h"
#include "framework/ui/modal.h"
#include "reports/budgetreport.h"
#include "reports/budgetreportdialog.h"
#include "reports/reportsession.h"
#include "support/engines.h"
#include "support/programrun.h"
#include "support/testenvironment.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSqlQuery>
#include <QtTest>
#include <cmath>

namespace {

// P 1: over on hours; major 2 (actions 3, 4) and major 5 without actions. Project 9 and project 0
// (names that matched nothing) book rows that must not count for P.
const char* const seedSql[] = {
    "INSERT INTO projects (Zel_Project_id, Zel_project, Zel_budget_hours, Zel_hours, Zel_Budget, "
    "Zel_actual, Zel_perc_complete) VALUES (1, 'P', 100, 120, 1000, 500.25, 40), "
    "(9, 'Other', 10, 0, 10, 0, 0)",
    "INSERT INTO major (Major_project_id, Major_id, Major_item, Major_budget_hours, Major_hours, "
    "Major_budget, Major_actual, Major_perc_complete) VALUES (1, 2, 'Design', 60, 30, NULL, "
    "NULL, 0), (1, 5, 'Build', NULL, NULL, 400, 50, 100), (9, 6, 'Elsewhere', 1, 0, 1, 0, 0)",
    "INSERT INTO action (Action_project_id, Action_major_id, Action_id, Action_name, "
    "Action_budget_hours, Action_hours, Action_budget, Action_actual, Action_perc_complete) "
    "VALUES (1, 2, 3, 'Sketch', 0, 5, 100, 150, 50), (1, 2, 4, 'Review', NULL, NULL, NULL, NULL, "
    "NULL), (9, 6, 7, 'Away', 1, 0, 1, 0, 0)",
    // Booked on the project; on the major activity below which the action's name matched
    // nothing; on an action, once with an emptied first day; elsewhere.
    "INSERT INTO ProjectTS (ProjectTS_project_id, ProjectTS_major_id, ProjectTS_action_id, "
    "ProjectTS_member, ProjectTS_date_from, ProjectTS_date_to, ProjectTS_hours) VALUES "
    "(1, 0, 0, 'Ann', '2024-01-05', '2024-01-06', 1), (1, 2, 0, 'Ann', '2024-01-03', "
    "'2024-01-04', 2), (1, 2, 3, 'Bob', '2024-02-01', '2024-02-10', 3), (1, 2, 3, 'Bob', "
    "'1899-12-30', '2024-02-20', 4), (9, 6, 7, 'Ann', '2023-01-01', '2025-12-31', 5), "
    "(0, 0, 0, 'Ann', '2020-01-01', '2030-01-01', 6)",
    "INSERT INTO ProjectCost (ProjectCost_project_id, ProjectCost_major_id, "
    "ProjectCost_action_id, ProjectCost_date_from, ProjectCost_date_to, ProjectCost_Amount) "
    "VALUES (1, 5, 0, '2024-03-01', '2024-03-02', 50), (1, 2, 4, '2024-01-01', '2024-01-01', 9), "
    "(9, 0, 0, '2022-01-01', '2022-01-01', 1)",
};

const QStringList headings{"level",         "project",        "major activity", "action",
                           "budget hours",  "actual hours",   "hours left",     "budget",
                           "actual costs",  "cost left",      "% complete",     "actual start",
                           "actual finish", "forecast hours", "forecast cost"};

QDate day(const QVariant& v) {
    return v.isNull() ? QDate() : QDate::fromString(v.toString().left(10), Qt::ISODate);
}

// The earlier (or later) of two days, either of which may be missing.
QDate pick(const QDate& a, const QDate& b, bool earlier) {
    if (!a.isValid() || !b.isValid())
        return a.isValid() ? a : b;
    return (a < b) == earlier ? a : b;
}

} // namespace

class TestBudget : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    QString folder;
    std::unique_ptr<vok::Store> store;

    // A node's expected row, straight from the tables: its own fields, and its booked days from
    // the rows whose leading numbers are its key, without the empty date.
    struct Expected {
        QString level, project, major, action;
        QVariant budgetHours, hours, budget, actual, percent;
        QDate start, finish;
    };
    Expected expected(const QString& level, const QVariantList& key, const QString& fields,
                      const QString& table, const QString& where) {
        QSqlQuery q = store->exec(
            QStringLiteral("SELECT %1 FROM %2 WHERE %3").arg(fields, table, where), key);
        q.next();
        Expected e{level,      QStringLiteral("P"), {},         {}, q.value(0), q.value(1),
                   q.value(2), q.value(3),          q.value(4), {}, {}};
        const char* const owners[] = {"_project_id", "_major_id", "_action_id"};
        for (const char* t : {"ProjectTS", "ProjectCost"}) {
            QStringList on;
            for (int i = 0; i < key.size(); ++i)
                on << QLatin1String(t) + QLatin1String(owners[i]) + QStringLiteral(" = ?");
            const QString from = QLatin1String(t) + QStringLiteral("_date_from");
            const QString to = QLatin1String(t) + QStringLiteral("_date_to");
            QSqlQuery d = store->exec(
                QStringLiteral("SELECT (SELECT MIN(%1) FROM %3 WHERE %4 AND %1 <> '1899-12-30'), "
                               "(SELECT MAX(%2) FROM %3 WHERE %4 AND %2 <> '1899-12-30')")
                    .arg(from, to, QLatin1String(t), on.join(QStringLiteral(" AND "))),
                key + key);
            d.next();
            e.start = pick(e.start, day(d.value(0)), true);
            e.finish = pick(e.finish, day(d.value(1)), false);
        }
        return e;
    }

    QList<Expected> expectedRows() {
        const QString fields[] = {
            QStringLiteral(
                "Zel_budget_hours, Zel_hours, Zel_Budget, Zel_actual, Zel_perc_complete"),
            QStringLiteral("Major_budget_hours, Major_hours, Major_budget, Major_actual, "
                           "Major_perc_complete"),
            QStringLiteral("Action_budget_hours, Action_hours, Action_budget, Action_actual, "
                           "Action_perc_complete")};
        QList<Expected> rows{expected(QStringLiteral("Project"), {1}, fields[0],
                                      QStringLiteral("projects"),
                                      QStringLiteral("Zel_Project_id = ?"))};
        QSqlQuery majors = store->exec(QStringLiteral(
            "SELECT Major_id, Major_item FROM major WHERE Major_project_id = 1 ORDER BY Major_id"));
        while (majors.next()) {
            const QVariant m = majors.value(0);
            rows << expected(QStringLiteral("Major activity"), {1, m}, fields[1],
                             QStringLiteral("major"),
                             QStringLiteral("Major_project_id = ? AND Major_id = ?"));
            rows.last().major = majors.value(1).toString();
            QSqlQuery actions = store->exec(
                QStringLiteral("SELECT Action_id, Action_name FROM action WHERE Action_project_id "
                               "= 1 AND Action_major_id = ? ORDER BY Action_id"),
                {m});
            while (actions.next()) {
                rows << expected(QStringLiteral("Action"), {1, m, actions.value(0)}, fields[2],
                                 QStringLiteral("action"),
                                 QStringLiteral("Action_project_id = ? AND Action_major_id = ? "
                                                "AND Action_id = ?"));
                rows.last().major = majors.value(1).toString();
                rows.last().action = actions.value(1).toString();
            }
        }
        return rows;
    }

    // A number of a CSV cell against a stored value; empty for an empty one.
    static void sameNumber(const QString& cell, const std::optional<double>& want,
                           const QString& what) {
        QVERIFY2(cell.isEmpty() == !want.has_value(),
                 qPrintable(what + QStringLiteral(": ") + cell));
        if (want)
            QVERIFY2(std::abs(cell.toDouble() - *want) < 0.006,
                     qPrintable(what + QStringLiteral(": ") + cell));
    }
    static std::optional<double> number(const QVariant& v) {
        return v.isNull() ? std::nullopt : std::optional<double>(v.toDouble());
    }

private Q_SLOTS:
    void initTestCase_data() { Engines::addRows(); }

    void init() {
        VOK_INIT_ENGINE();
        env = std::make_unique<TestEnvironment>();
        folder = env->emptyFolder();
        store = std::make_unique<vok::Store>();
        store->setParams({QStringLiteral("path=") + folder});
        store->open();
        for (const char* q : seedSql)
            store->exec(QLatin1String(q));
    }

    void cleanup() {
        store.reset();
        env.reset();
    }

    void everyRowIsWhatTheStoredDataComeTo() {
        const QList<Expected> want = expectedRows();
        store.reset(); // the engine may hold a folder for one connection only
        ReportSession session(folder);
        session.printProject = QStringLiteral("P");
        BudgetReport report(&session.dm);
        report.run();
        const QList<QStringList>& rows = report.printedRows();
        QCOMPARE(rows.value(0), headings);
        QCOMPARE(rows.size(), want.size() + 1);
        for (qsizetype i = 0; i < want.size(); ++i) {
            const Expected& e = want[i];
            const QStringList& r = rows[i + 1];
            const QString at = QStringLiteral("row %1").arg(i + 1);
            QCOMPARE(r.mid(0, 4), (QStringList{e.level, e.project, e.major, e.action}));
            const auto left = [](const QVariant& budget, const QVariant& actual) {
                return budget.isNull()
                           ? std::nullopt
                           : std::optional<double>(budget.toDouble() - actual.toDouble());
            };
            const auto forecast = [&](const QVariant& actual) {
                return e.percent.toInt() > 0
                           ? std::optional<double>(actual.toDouble() * 100 / e.percent.toInt())
                           : std::nullopt;
            };
            sameNumber(r[4], number(e.budgetHours), at + u" budget hours"_qs);
            sameNumber(r[5], number(e.hours), at + u" actual hours"_qs);
            sameNumber(r[6], left(e.budgetHours, e.hours), at + u" hours left"_qs);
            sameNumber(r[7], number(e.budget), at + u" budget"_qs);
            sameNumber(r[8], number(e.actual), at + u" actual costs"_qs);
            sameNumber(r[9], left(e.budget, e.actual), at + u" cost left"_qs);
            QCOMPARE(r[10], e.percent.isNull() ? QString() : e.percent.toString());
            QCOMPARE(r[11], e.start.isValid() ? e.start.toString(Qt::ISODate) : QString());
            QCOMPARE(r[12], e.finish.isValid() ? e.finish.toString(Qt::ISODate) : QString());
            sameNumber(r[13], forecast(e.hours), at + u" forecast hours"_qs);
            sameNumber(r[14], forecast(e.actual), at + u" forecast cost"_qs);
        }
        // What the data hold, to be sure the comparison saw every case: the empty first day
        // gives none, the row on the major activity below its actions counts for it, a budget
        // of 0 is over by all that was used.
        QCOMPARE(rows[1].mid(11, 2), (QStringList{"2024-01-01", "2024-03-02"}));
        QCOMPARE(rows[2].mid(11, 2), (QStringList{"2024-01-01", "2024-02-20"}));
        QCOMPARE(rows[3].mid(11, 2), (QStringList{"2024-02-01", "2024-02-20"}));
        QCOMPARE(rows[3][6], u"-5"_qs);
    }

    void barsShowWhatIsUsedOfTheBudgetAndTotalsAddUpTheMajorActivities() {
        store.reset();
        ReportSession session(folder);
        session.printProject = QStringLiteral("P");
        BudgetReport report(&session.dm);
        const vok::ReportDocument doc = report.run();
        QCOMPARE(doc.subject, u"P"_qs);
        QStringList bars;
        QStringList totals;
        for (const vok::ReportItem& item : doc.pages.value(0).items) {
            if (item.id.endsWith(u"Used"_qs))
                bars << QStringLiteral("%1 %2 %3")
                            .arg(item.id)
                            .arg(item.visible ? item.box.width() : 0)
                            .arg(item.fill.name());
            if (item.id.startsWith(u"Total"_qs) && item.kind == vok::ReportItem::Kind::Text)
                totals << item.text;
        }
        // Hours 120 of 100 and costs 500.25 of 1000; the first major activity 30 of 60 and no
        // budget, its actions over a budget of 0 and with none at all; the second major
        // activity no budget and 50 of 400.
        QCOMPARE(bars, (QStringList{"ProjectHoursUsed 120 #c80000", "ProjectCostUsed 50 #0064c8",
                                    "MajorHoursUsed 50 #0064c8", "MajorCostUsed 0 #0064c8",
                                    "ActionHoursUsed 140 #c80000", "ActionCostUsed 140 #c80000",
                                    "ActionHoursUsed 0 #0064c8", "ActionCostUsed 0 #0064c8",
                                    "MajorHoursUsed 0 #0064c8", "MajorCostUsed 12 #0064c8"}));
        // Budget hours, actual hours, hours left, budget, actual costs, cost left: each column
        // of the two major activities added up.
        QCOMPARE(totals.mid(0, 7), (QStringList{"Total of the major activities", "60", "30", "30",
                                                "$400.00", "$50.00", "$350.00"}));
    }

    void aNodesPageIsOneStatementOfWhatItsRowsAndChildrenComeTo_data() {
        QTest::addColumn<QVariantList>("key");
        QTest::addColumn<QString>("booked");
        QTest::addColumn<int>("children");
        QTest::addColumn<QString>("childBudgets");
        QTest::newRow("project") << QVariantList{1} << "2024-01-01 2024-03-02" << 2 << "60 400";
        QTest::newRow("major activity, a row below it whose action matched nothing")
            << QVariantList{1, 2} << "2024-01-01 2024-02-20" << 2 << "0 100";
        QTest::newRow("major activity without actions")
            << QVariantList{1, 5} << "2024-03-01 2024-03-02" << 0 << "- -";
        QTest::newRow("action, an emptied first day")
            << QVariantList{1, 2, 3} << "2024-02-01 2024-02-20" << 0 << "- -";
        QTest::newRow("action, nothing booked on it but a cost")
            << QVariantList{1, 2, 4} << "2024-01-01 2024-01-01" << 0 << "- -";
        QTest::newRow("no such node") << QVariantList{1, 99} << " " << 0 << "- -";
    }
    void aNodesPageIsOneStatementOfWhatItsRowsAndChildrenComeTo() {
        QFETCH(QVariantList, key);
        QFETCH(QString, booked);
        QFETCH(int, children);
        QFETCH(QString, childBudgets);
        NodeFigures figures(*store);
        figures.page(key); // prepared once
        const quint64 before = store->statementsRun();
        const NodeFigures::Page page = figures.page(key);
        QCOMPARE(store->statementsRun() - before, quint64(1));
        QCOMPARE(page.booked.start.toString(Qt::ISODate) + u' ' +
                     page.booked.finish.toString(Qt::ISODate),
                 booked);
        QCOMPARE(page.children, children);
        const auto text = [](const std::optional<double>& v) {
            return v ? QString::number(*v) : QStringLiteral("-");
        };
        QCOMPARE(text(page.childHours) + u' ' + text(page.childBudget), childBudgets);
    }

    void itsDialogPrintsTheProjectChosen() {
        store->exec(QStringLiteral("INSERT INTO projects (Zel_project) VALUES ('Q')"));
        store.reset();
        ReportSession session(folder);
        BudgetReportDialog dialog(&session.dm);
        BudgetReport report(&session.dm);
        dialog.setReport(&report);
        dialog.setPrintProject([&](const QString& name) { session.printProject = name; });
        vok::Modal::setHandler([](QDialog*) { return int(QDialog::Rejected); });
        QAction item;
        dialog.connectMenu(&item);
        item.trigger();
        QCOMPARE(dialog.projectBox()->count(), 3);
        dialog.projectBox()->setCurrentIndex(dialog.projectBox()->findText(u"P"_qs));
        vok::ReportDocument printed;
        vok::ReportPrinter::setHandler(
            [&](QPrinter&, const vok::ReportDocument& doc) { printed = doc; });
        dialog.printButton->click();
        vok::ReportPrinter::setHandler({});
        vok::Modal::setHandler({});
        QCOMPARE(printed.title, u"Budget and actuals"_qs);
        QCOMPARE(printed.subject, u"P"_qs);
        QCOMPARE(report.printedRows().size(), 6); // the headings and P's five nodes
        QVERIFY(!session.dm.projects->isFiltered());
    }

    void vokctlWritesTheRowsAsCsv() {
        store.reset();
        const QString csv = QDir(env->root()).filePath(QStringLiteral("budget.csv"));
        const ProgramRun run = ProgramRun::of(
            QStringLiteral(VOKCTL_PATH),
            {QStringLiteral("report"), QStringLiteral("budget"), QStringLiteral("--data"), folder,
             QStringLiteral("--project"), QStringLiteral("P"), QStringLiteral("--csv"), csv});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QVERIFY2(run.out.contains(u"Wrote 5 rows to"_qs), qPrintable(run.out));
        QFile f(csv);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = f.readAll().split('\n');
        QCOMPARE(lines.value(0), QByteArray("level,project,major activity,action,budget hours,"
                                            "actual hours,hours left,budget,actual costs,cost "
                                            "left,% complete,actual start,actual finish,forecast "
                                            "hours,forecast cost\r"));
        QCOMPARE(lines.value(3), QByteArray("Action,P,Design,Sketch,0,5,-5,100.00,150.00,-50.00,"
                                            "50,2024-02-01,2024-02-20,10,300.00\r"));
    }
};

QTEST_MAIN(TestBudget)
#include "tst_budget.moc"

// Merging 10 members' time sheets of 10,000 lines each into a folder of 1,000 projects with
// 10 major activities of 10 actions each: the record-set merge against plain SQL doing the same
// resolution, rows, totals and removal in the same run.
#include "benchsummary.h"
#include "data/datafolder.h"
#include "data/projectdata.h"
#include "data/schema.h"
#include "framework/dataset/store.h"
#include "framework/dataset/transaction.h"
#include "memberfiles.h"
#include "sizedfolder.h"
#include "timesheets/memberfile.h"
#include "timesheets/timesheetmerge.h"
#include "ui/main/mainwindow.h"
#include "ui/main/treecontroller.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int Projects = 1000;
constexpr int Majors = 10;
constexpr int Actions = 10;
// Smaller runs for profiling: bench_merge [members [lines per member [runs|apart]]].
int Members = 10;
int LinesPerMember = 10000;

QTextStream& out() {
    static QTextStream s(stdout);
    return s;
}

using MemberFiles::Spread;

QStringList memberNames() {
    return MemberFiles::memberNames(Members);
}

qint64 recordSetMerge(const QString& dir, int& lines, quint64& statements,
                      bool windowShowing = false) {
    std::unique_ptr<MainWindow> form;
    ProjectData dm;
    dm.DataPath = dir;
    dm.connectTo(dir);
    for (vok::Table* t : {dm.projects, dm.Major, dm.Action})
        t->open();
    if (windowShowing) {
        // As a user runs it: the main window open on an action, its controls following the
        // shared record-sets.
        form = std::make_unique<MainWindow>();
        form->setDataModule(&dm);
        for (vok::Table* t : {dm.ProjectNotes, dm.MajorNotes, dm.ActionNotes, dm.ProjectTeam,
                              dm.MajorTeam, dm.ActionTeam, dm.Members, dm.Contacts})
            t->open();
        form->show();
        form->tree->loadTree();
        form->tree->selectNode(QStringLiteral("1,1,1"));
        QCoreApplication::processEvents();
    }
    QElapsedTimer timer;
    timer.start();
    const quint64 before = dm.store->statementsRun();
    TimeSheetMerge merge(dm);
    lines = merge.run(memberNames()).lines;
    const qint64 elapsed = timer.nsecsElapsed();
    statements = dm.store->statementsRun() - before;
    form.reset();
    return elapsed;
}

// The same work in plain SQL: names joined to numbers (0 when not found, and 0 below a level not
// found), one row per line, the three totals raised, the lines removed; one unit per file.
qint64 sqlMerge(const QString& dir, int& lines) {
    vok::Store store;
    store.setParams({QStringLiteral("path=") + dir});
    store.open();
    QElapsedTimer timer;
    timer.start();
    lines = 0;
    for (const QString& member : memberNames()) {
        const vok::TableRef ref = store.resolve(MemberFile::fileName(member));
        {
            vok::Transaction tx(store);
            QSqlQuery last =
                store.exec(QStringLiteral("SELECT COALESCE(MAX(ProjectTS_id), 0) FROM ProjectTS"));
            last.next();
            const qlonglong before = last.value(0).toLongLong();
            last.finish();
            QSqlQuery insert = store.exec(
                QStringLiteral(
                    "INSERT INTO ProjectTS (ProjectTS_project_id, ProjectTS_major_id, "
                    "ProjectTS_action_id, ProjectTS_date_from, ProjectTS_member, "
                    "ProjectTS_date_to, "
                    "ProjectTS_hours, ProjectTS_Notes) "
                    "SELECT COALESCE(p.Zel_Project_id, 0), COALESCE(m.Major_id, 0), "
                    "COALESCE(a.Action_id, 0), COALESCE(l.MemberTS_Date_from, '1899-12-30'), ?, "
                    "COALESCE(l.MemberTS_Date_to, '1899-12-30'), COALESCE(l.MemberTS_Hours, 0), "
                    "l.MemberTS_Notes FROM %1 l "
                    "LEFT JOIN projects p ON p.Zel_project = l.MemberTS_project "
                    "LEFT JOIN major m ON m.Major_project_id = p.Zel_Project_id AND "
                    "m.Major_item = l.MemberTS_Major "
                    "LEFT JOIN action a ON a.Action_project_id = m.Major_project_id AND "
                    "a.Action_major_id = m.Major_id AND a.Action_name = l.MemberTS_Action "
                    "ORDER BY l.MemberTS_id")
                    .arg(ref.sql()),
                {member});
            lines += insert.numRowsAffected();
            insert.finish();
            const auto raise = [&](const char* table, const char* total, const char* id,
                                   const char* rowId) {
                store.exec(QStringLiteral("UPDATE %1 SET %2 = COALESCE(%2, 0) + s.hours FROM "
                                          "(SELECT %4 AS id, SUM(ProjectTS_hours) AS hours FROM "
                                          "ProjectTS WHERE ProjectTS_id > ? AND %4 <> 0 GROUP BY "
                                          "%4) AS s WHERE %3 = s.id")
                               .arg(QLatin1String(table), QLatin1String(total), QLatin1String(id),
                                    QLatin1String(rowId)),
                           {before});
            };
            raise("projects", "Zel_hours", "Zel_Project_id", "ProjectTS_project_id");
            raise("major", "Major_hours", "Major_id", "ProjectTS_major_id");
            raise("action", "Action_hours", "Action_id", "ProjectTS_action_id");
            store.exec(QStringLiteral("DELETE FROM %1").arg(ref.sql()));
            tx.commit();
        }
        store.release(ref);
    }
    const qint64 elapsed = timer.nsecsElapsed();
    store.close();
    return elapsed;
}

// Rows and totals of a folder, to show that both ways did the same.
QString fingerprint(const QString& dir) {
    vok::Store store;
    store.setParams({QStringLiteral("path=") + dir});
    store.open();
    QSqlQuery q = store.exec(QStringLiteral(
        "SELECT (SELECT COUNT(*) FROM ProjectTS), (SELECT SUM(ProjectTS_project_id * 7 + "
        "ProjectTS_major_id * 3 + ProjectTS_action_id) FROM ProjectTS), (SELECT SUM(Zel_hours) "
        "FROM projects), (SELECT SUM(Major_hours) FROM major), (SELECT SUM(Action_hours) FROM "
        "action)"));
    q.next();
    const QString f = QStringLiteral("rows %1, key sum %2, hours %3 / %4 / %5")
                          .arg(q.value(0).toLongLong())
                          .arg(q.value(1).toLongLong())
                          .arg(q.value(2).toDouble())
                          .arg(q.value(3).toDouble())
                          .arg(q.value(4).toDouble());
    q.finish();
    store.close();
    return f;
}

// A copy of the sized folder with the members' files of one spread, on the benchmark's engine.
QString prepare(SizedFolder& sized, const QString& name, Spread spread) {
    const QString dir = QDir(sized.root()).filePath(name);
    QDir().mkpath(dir);
    QFile::copy(QDir(sized.folder()).filePath(QLatin1String(vok::Store::DatabaseFile)),
                QDir(dir).filePath(QLatin1String(vok::Store::DatabaseFile)));
    MemberFiles::write(dir, Members, LinesPerMember, Projects, spread);
    return sized.onEngine(dir);
}

// Runs both merges on one spread and prints their figures; false when they disagree.
bool measure(SizedFolder& sized, Spread spread, const char* title) {
    const QString tag = spread == Spread::Runs ? QStringLiteral("runs") : QStringLiteral("apart");
    const QString sqlDir = prepare(sized, QStringLiteral("sql-") + tag, spread);
    const QString recordSetDir = prepare(sized, QStringLiteral("recordset-") + tag, spread);

    int sqlLines = 0;
    const qint64 sqlNs = sqlMerge(sqlDir, sqlLines);
    int recordSetLines = 0;
    quint64 statements = 0;
    const qint64 recordSetNs = recordSetMerge(recordSetDir, recordSetLines, statements);

    if (spread == Spread::Runs) {
        const QString windowDir = prepare(sized, QStringLiteral("window-") + tag, spread);
        int windowLines = 0;
        quint64 windowStatements = 0;
        const qint64 windowNs = recordSetMerge(windowDir, windowLines, windowStatements, true);
        out() << QStringLiteral("  (with the main window showing: %1 lines/s)\n")
                     .arg(windowLines / (windowNs / 1e9), 0, 'f', 0);
    }
    const double sqlRate = sqlLines / (sqlNs / 1e9);
    const double recordSetRate = recordSetLines / (recordSetNs / 1e9);
    const double ratio = double(recordSetNs) / double(sqlNs);
    out() << title << "\n";
    out() << QStringLiteral("  record-set merge: %1 lines in %2 s = %3 lines/s (goal >= %4)\n")
                 .arg(recordSetLines)
                 .arg(recordSetNs / 1e9, 0, 'f', 3)
                 .arg(recordSetRate, 0, 'f', 0)
                 .arg(SizedFolder::onServer() ? 10000 : 20000);
    out() << QStringLiteral("  statements: %1 (%2 per line)\n")
                 .arg(statements)
                 .arg(double(statements) / std::max(recordSetLines, 1), 0, 'f', 3);
    out() << QStringLiteral("  plain SQL:        %1 lines in %2 s = %3 lines/s\n")
                 .arg(sqlLines)
                 .arg(sqlNs / 1e9, 0, 'f', 3)
                 .arg(sqlRate, 0, 'f', 0);
    // On a server each statement is a round trip: the goal there is wider.
    const double goal = SizedFolder::onServer() ? 3.0 : (spread == Spread::Runs ? 1.5 : 2.0);
    out() << QStringLiteral("  ratio record-set / plain SQL: %1x (goal <= %2x)\n")
                 .arg(ratio, 0, 'f', 2)
                 .arg(goal, 0, 'f', 1);
    const QString a = fingerprint(recordSetDir);
    const QString b = fingerprint(sqlDir);
    out() << "  record-set result: " << a << "\n  plain SQL result:  " << b << "\n";
    out().flush();
    const int total = Members * LinesPerMember;
    const bool met = BenchSummary::report(
        spread == Spread::Runs ? QStringLiteral("merge, runs of five")
                               : QStringLiteral("merge, every line on another project"),
        ratio, goal);
    return a == b && recordSetLines == total && sqlLines == total && met;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc > 1)
        Members = std::max(1, std::atoi(argv[1]));
    if (argc > 2)
        LinesPerMember = std::max(1, std::atoi(argv[2]));
    SizedFolder sized(Projects, Majors, Actions);
    out() << "merge: " << Members * LinesPerMember << " lines (" << Members << " members x "
          << LinesPerMember << ") into " << Projects << " x " << Majors << " x " << Actions
          << "; one line in 100 names no project\n";
    const QString only = argc > 3 ? QString::fromLatin1(argv[3]) : QString();
    bool same = true;
    if (only != QLatin1String("apart"))
        same = measure(sized, Spread::Runs,
                       "lines in runs of five on one major activity (a week booked at a time):");
    if (only != QLatin1String("runs"))
        same = measure(sized, Spread::Apart,
                       "every line on another project (each line moves all three record-sets):") &&
               same;
    if (!same) {
        std::fprintf(stderr, "bench_merge: the two merges disagree, or a goal is missed\n");
        return 1;
    }
    return 0;
}

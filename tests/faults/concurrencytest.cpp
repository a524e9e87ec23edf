// Four processes on one data folder for a few seconds: two merge over and over while two edit
// projects and add lines through the record-sets. No update is lost, no line is counted twice,
// and no one is shown that the data is locked: they wait for each other.
#include "app/storageconfiguration.h"
#include "costs/costmerge.h"
#include "data/projectdata.h"
#include "faultfolder.h"
#include "faultsuites.h"
#include "support/testenvironment.h"
#include "timesheets/memberlist.h"
#include "timesheets/timesheetmerge.h"

#include "support/engines.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QtTest>
#include <memory>

namespace {

constexpr int Projects = 6;
constexpr int PendingLines = 300; // per member, and as many cost lines
constexpr int Seconds = 4;

// The number after a label in a worker's report ("time sheet lines 120").
int reported(const QString& report, const QString& label) {
    const QRegularExpression line(QStringLiteral("^%1 (\\d+)$").arg(label),
                                  QRegularExpression::MultilineOption);
    return line.match(report).captured(1).toInt();
}

} // namespace

class TestConcurrency : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { Engines::addRows(); }

    void init() { VOK_INIT_ENGINE(); }

    void fourProcessesOnOneFolderLoseAndDoubleNothing() {
        TestEnvironment env;
        StorageConfiguration::writeEntries(); // shared locking, as every start configures it
        const QString dir = env.location();
        FaultFolder::create(dir, Projects, 2);
        for (int m = 1; m <= 2; ++m)
            FaultFolder::writeMemberLines(dir, FaultFolder::memberName(m), PendingLines,
                                          QStringLiteral("m%1").arg(m), Projects);
        FaultFolder::writeCostLines(dir, PendingLines, QStringLiteral("c"), Projects);

        const QList<QStringList> roles{
            {QStringLiteral("merge"), dir, QString::number(Seconds)},
            {QStringLiteral("merge"), dir, QString::number(Seconds)},
            {QStringLiteral("edit"), dir, QString::number(Seconds), QStringLiteral("1")},
            {QStringLiteral("edit"), dir, QString::number(Seconds), QStringLiteral("2")}};
        std::vector<std::unique_ptr<QProcess>> workers;
        for (const QStringList& args : roles) {
            workers.push_back(std::make_unique<QProcess>());
            workers.back()->start(QStringLiteral(FAULTWORKER), args);
        }
        QStringList reports;
        for (size_t i = 0; i < workers.size(); ++i) {
            QProcess& w = *workers[i];
            QVERIFY(w.waitForFinished(60000));
            const QString errors = QString::fromUtf8(w.readAllStandardError());
            QVERIFY2(w.exitStatus() == QProcess::NormalExit && w.exitCode() == 0,
                     qPrintable(errors));
            // Waiting is fine; an error shown to the user is not, least of all "locked".
            QVERIFY2(!errors.contains(QLatin1String("ERROR")),
                     qPrintable(roles[i].join(QLatin1Char(' ')) + QStringLiteral(": ") + errors));
            reports << QString::fromUtf8(w.readAllStandardOutput());
            qInfo("%s: %s", qPrintable(roles[i].value(0)),
                  qPrintable(reports.last().split(QLatin1Char('\n')).mid(0, 2).join(u", ")));
        }

        // What is still pending is merged now; then every line must be a row exactly once.
        ProjectData dm;
        dm.DataPath = dir;
        dm.connectTo(dir);
        const MergeReport last = TimeSheetMerge(dm).run(MemberList::names(*dm.Members));
        QVERIFY(last.skipped.isEmpty());
        const int lastCosts = CostMerge(dm).run().lines;
        vok::Store& store = *dm.store;

        const int timeSheetLines = 2 * PendingLines +
                                   reported(reports[2], QStringLiteral("time sheet lines")) +
                                   reported(reports[3], QStringLiteral("time sheet lines"));
        const int costLines = PendingLines + reported(reports[2], QStringLiteral("cost lines")) +
                              reported(reports[3], QStringLiteral("cost lines"));
        QVERIFY(timeSheetLines > 2 * PendingLines && costLines > PendingLines);
        // Merged once: the merges' counts add up to the lines, and no line gave two rows.
        QCOMPARE(reported(reports[0], QStringLiteral("merged time sheet lines")) +
                     reported(reports[1], QStringLiteral("merged time sheet lines")) + last.lines,
                 timeSheetLines);
        QCOMPARE(reported(reports[0], QStringLiteral("merged cost lines")) +
                     reported(reports[1], QStringLiteral("merged cost lines")) + lastCosts,
                 costLines);
        QCOMPARE(FaultFolder::number(store, QStringLiteral("SELECT COUNT(DISTINCT "
                                                           "ProjectTS_Notes) FROM ProjectTS")),
                 qlonglong(timeSheetLines));
        QCOMPARE(FaultFolder::number(store, QStringLiteral("SELECT COUNT(*) FROM ProjectTS")),
                 qlonglong(timeSheetLines));
        QCOMPARE(FaultFolder::number(store, QStringLiteral("SELECT COUNT(DISTINCT "
                                                           "ProjectCost_Notes) FROM ProjectCost")),
                 qlonglong(costLines));
        QCOMPARE(FaultFolder::number(store, QStringLiteral("SELECT COUNT(*) FROM ProjectCost")),
                 qlonglong(costLines));
        const QString books = FaultFolder::booksDiffer(store);
        QVERIFY2(books.isEmpty(), qPrintable(books));

        // Each editor's last edit of a project is what the project holds.
        for (int editor = 0; editor < 2; ++editor) {
            const QRegularExpression edited(QStringLiteral("^project (\\d+) (\\S+)$"),
                                            QRegularExpression::MultilineOption);
            int projects = 0;
            for (auto it = edited.globalMatch(reports[2 + editor]); it.hasNext(); ++projects) {
                const auto m = it.next();
                QCOMPARE(QString::number(FaultFolder::number(
                             store, QStringLiteral("SELECT COUNT(*) FROM projects WHERE "
                                                   "Zel_Project_id = %1 AND %2 = '%3'")
                                        .arg(m.captured(1),
                                             editor == 0 ? QStringLiteral("Zel_client")
                                                         : QStringLiteral("Zel_description"),
                                             m.captured(2)))),
                         QStringLiteral("1"));
            }
            QVERIFY(projects > 0);
        }
    }

    // Another installation holds the write lock for a while: a merge and an edit here wait for
    // it and then succeed.
    void aLockHeldForAWhileIsWaitedOut() {
        TestEnvironment env;
        StorageConfiguration::writeEntries();
        const QString dir = env.location();
        FaultFolder::create(dir, Projects, 1);
        FaultFolder::writeCostLines(dir, 10, QStringLiteral("c"), Projects);
        ProjectData dm;
        dm.DataPath = dir;
        dm.connectTo(dir);
        dm.projects->open();

        QProcess holder;
        holder.start(QStringLiteral(FAULTWORKER),
                     {QStringLiteral("hold"), dir, QStringLiteral("1500")});
        QVERIFY(holder.waitForReadyRead(10000));
        QElapsedTimer waited;
        waited.start();
        QCOMPARE(CostMerge(dm).run().lines, 10);
        dm.projects->edit();
        dm.projects->fieldByName(QStringLiteral("Zel_client")).setAsString(QStringLiteral("x"));
        dm.projects->post();
        QVERIFY2(waited.elapsed() >= 1000, qPrintable(QString::number(waited.elapsed())));
        QVERIFY(holder.waitForFinished(10000));
        QCOMPARE(holder.exitCode(), 0);
        QCOMPARE(
            FaultFolder::number(*dm.store, QStringLiteral("SELECT COUNT(*) FROM projects WHERE "
                                                          "Zel_client = 'x'")),
            1);
    }
};

int runConcurrencyTests(int argc, char** argv) {
    TestConcurrency t;
    return QTest::qExec(&t, argc, argv);
}

#include "concurrencytest.moc"

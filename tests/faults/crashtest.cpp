// Merges killed at random points: after every kill each source is either merged whole or left
// untouched, every total equals the sum of the rows booked on it, and the next merge completes
// the work.
#include "app/storageconfiguration.h"
#include "faultfolder.h"
#include "faultsuites.h"
#include "framework/dataset/store.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QtTest>

namespace {

constexpr int Projects = 6;
constexpr int LinesPerMember = 10000; // two members
constexpr int CostLines = 20000;
constexpr int Kills = 20;

} // namespace

class TestCrash : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    QString templateDir;
    QString dir;

    // The data folder as the template has it: every line pending.
    void restore() {
        QDir(dir).removeRecursively();
        QDir().mkpath(dir);
        for (const QString& f : QDir(templateDir).entryList(QDir::Files))
            QVERIFY(QFile::copy(QDir(templateDir).filePath(f), QDir(dir).filePath(f)));
    }

    QStringList arguments(const QString& verb) const {
        QStringList args{verb, QStringLiteral("--data"), dir};
        if (verb == QLatin1String("merge-timesheets"))
            args << QStringLiteral("--all");
        return args;
    }

    // Checks the folder after a merge ended however it ended; returns how many sources are merged.
    int checkWholeOrUntouched(const QString& verb) {
        vok::Store store; // opening it rolls back what the killed merge left half done
        store.setParams({QStringLiteral("path=") + dir});
        const QString books = FaultFolder::booksDiffer(store);
        [&] { QVERIFY2(books.isEmpty(), qPrintable(books)); }();
        int merged = 0;
        if (verb == QLatin1String("merge-costs")) {
            const qlonglong left =
                FaultFolder::number(store, QStringLiteral("SELECT COUNT(*) FROM Costentry"));
            const qlonglong rows =
                FaultFolder::number(store, QStringLiteral("SELECT COUNT(*) FROM ProjectCost"));
            [&] {
                QVERIFY2((left == CostLines && rows == 0) || (left == 0 && rows == CostLines),
                         qPrintable(QStringLiteral("%1 lines left, %2 rows").arg(left).arg(rows)));
            }();
            merged += left == 0 ? 1 : 0;
        } else {
            for (int m = 1; m <= 2; ++m) {
                const QString member = FaultFolder::memberName(m);
                const qlonglong left = FaultFolder::memberLines(store, member);
                const qlonglong rows = FaultFolder::number(
                    store, QStringLiteral("SELECT COUNT(*) FROM ProjectTS WHERE ProjectTS_member "
                                          "= '%1'")
                               .arg(member));
                [&] {
                    QVERIFY2((left == LinesPerMember && rows == 0) ||
                                 (left == 0 && rows == LinesPerMember),
                             qPrintable(QStringLiteral("%1: %2 lines left, %3 rows")
                                            .arg(member)
                                            .arg(left)
                                            .arg(rows)));
                }();
                merged += left == 0 ? 1 : 0;
            }
        }
        return merged;
    }

    int sources(const QString& verb) const { return verb == QLatin1String("merge-costs") ? 1 : 2; }

private Q_SLOTS:
    void initTestCase() {
        env = std::make_unique<TestEnvironment>();
        StorageConfiguration::writeEntries();
        templateDir = QDir(env->root()).filePath(QStringLiteral("template"));
        dir = QDir(env->root()).filePath(QStringLiteral("data"));
        FaultFolder::create(templateDir, Projects, 2);
        for (int m = 1; m <= 2; ++m)
            FaultFolder::writeMemberLines(templateDir, FaultFolder::memberName(m), LinesPerMember,
                                          QStringLiteral("m%1").arg(m), Projects);
        FaultFolder::writeCostLines(templateDir, CostLines, QStringLiteral("c"), Projects);
    }

    void cleanupTestCase() { env.reset(); }

    void killedMergeLeavesEachSourceWholeOrUntouched_data() {
        QTest::addColumn<QString>("verb");
        QTest::newRow("time sheets") << "merge-timesheets";
        QTest::newRow("cost entries") << "merge-costs";
    }
    void killedMergeLeavesEachSourceWholeOrUntouched() {
        QFETCH(QString, verb);
        const auto runToEnd = [&] {
            QProcess p;
            p.start(QStringLiteral(VOKCTL), arguments(verb));
            QVERIFY(p.waitForFinished(120000));
            QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0,
                     p.readAllStandardError().constData());
            QCOMPARE(checkWholeOrUntouched(verb), sources(verb));
        };
        // How long a whole merge takes here: the kills fall within that time.
        restore();
        QElapsedTimer timer;
        timer.start();
        runToEnd();
        const int whole = static_cast<int>(timer.elapsed());
        qInfo("a whole merge takes %d ms here; %d kills within that time", whole, Kills);

        const quint32 seed = faultSeed();
        QRandomGenerator random(seed);
        int interrupted = 0;
        for (int kill = 0; kill < Kills; ++kill) {
            restore();
            const int after = random.bounded(whole);
            QProcess p;
            p.start(QStringLiteral(VOKCTL), arguments(verb));
            QVERIFY(p.waitForStarted());
            QThread::msleep(static_cast<unsigned long>(after));
            p.kill(); // SIGKILL: nothing of the process runs after it
            QVERIFY(p.waitForFinished());
            const int merged = checkWholeOrUntouched(verb);
            if (QTest::currentTestFailed()) {
                qWarning("kill %d after %d ms (seed %u)", kill, after, seed);
                return;
            }
            if (merged < sources(verb))
                ++interrupted;
            runToEnd(); // the next merge completes it
            if (QTest::currentTestFailed())
                return;
        }
        // Many kills must have met a merge at work, or the test proves little.
        QVERIFY2(interrupted >= Kills / 4, qPrintable(QString::number(interrupted)));
    }
};

int runCrashTests(int argc, char** argv) {
    TestCrash t;
    return QTest::qExec(&t, argc, argv);
}

#include "crashtest.moc"

// Another process changes names in and around the data folder while vokctl works: a link swapped
// in for an output, a member's sheet swapped for a link or another name of a file outside the
// folder, two imports of one plan at once. Whatever the timing, no output replaces or enters the
// data folder, no file outside it is read or emptied, and no project name is given twice. Each
// test runs its command again and again while a thread swaps two names as fast as it can;
// VOK_RACE_ROUNDS sets how many runs (a few by default, a few hundred for a thorough run).
#include "faultfolder.h"
#include "faultsuites.h"
#include "framework/dataset/store.h"
#include "support/engines.h"
#include "support/programrun.h"
#include "support/testenvironment.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDirIterator>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QtTest>
#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

const QString project = QStringLiteral("Office Move");
const QString crew = QStringLiteral("Site Crew");

int rounds() {
    bool ok = false;
    const int n = qEnvironmentVariable("VOK_RACE_ROUNDS").toInt(&ok);
    return ok && n > 0 ? n : 4;
}

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

// Exchanges two names, atomically, again and again until it goes, each time after a random
// moment of up to 10 microseconds, so that whatever is opened is either one at any time.
class Swapper {
public:
    Swapper(const QString& a, const QString& b)
        : a_(encoded(a)), b_(encoded(b)), thread_([this] {
              QRandomGenerator random(faultSeed());
              while (!stop_.load()) {
                  ::renameat2(AT_FDCWD, a_.constData(), AT_FDCWD, b_.constData(), RENAME_EXCHANGE);
                  QDeadlineTimer pause(std::chrono::microseconds(random.bounded(10)),
                                       Qt::PreciseTimer);
                  while (!pause.hasExpired()) {
                  }
              }
          }) {}
    ~Swapper() {
        stop_.store(true);
        thread_.join();
    }

private:
    QByteArray a_, b_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Each file of a folder with a digest of its content.
QStringList fingerprint(const QString& folder) {
    QStringList out;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        const QByteArray content = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("?");
        out << path + QLatin1Char(' ') +
                   QString::fromLatin1(
                       QCryptographicHash::hash(content, QCryptographicHash::Sha1).toHex());
    }
    out.sort();
    return out;
}

QByteArray digest(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1)
               : QByteArray();
}

// The inode a name leads to now, links not followed.
ino_t inodeOf(const QString& path) {
    struct stat st {};
    return ::lstat(encoded(path).constData(), &st) == 0 ? st.st_ino : 0;
}

} // namespace

class TestRace : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    QString data;

    QString inRoot(const QString& name) const { return QDir(env->root()).filePath(name); }
    QString inData(const QString& name) const { return QDir(data).filePath(name); }

    static ProgramRun vokctl(const QStringList& args) {
        return ProgramRun::of(QStringLiteral(VOKCTL), args);
    }

private Q_SLOTS:
    void initTestCase_data() { Engines::addRows(); }

    void init() {
        VOK_INIT_ENGINE();
        env = std::make_unique<TestEnvironment>();
        data = env->demoFolder(QStringLiteral("data"));
    }

    void cleanup() { env.reset(); }

    void outputsNeverReachTheDataWhateverTheTiming_data() {
        QTest::addColumn<QString>("leadsTo"); // what the name is swapped with, in {data}
        QTest::addColumn<bool>("hardLink");
        QTest::addColumn<QStringList>("args"); // {out} stands for the output's path
        const QStringList report{QStringLiteral("report"),    QStringLiteral("timeline"),
                                 QStringLiteral("--data"),    QStringLiteral("{data}"),
                                 QStringLiteral("--project"), project,
                                 QStringLiteral("--pdf"),     QStringLiteral("{out}")};
        QTest::newRow("report --pdf, a link to the database")
            << QStringLiteral("vok.sqlite") << false << report;
        QTest::newRow("report --pdf, another name of the database")
            << QStringLiteral("vok.sqlite") << true << report;
        QTest::newRow("document --odt, a link to a member's sheet")
            << crew + QStringLiteral(".db") << false
            << QStringList{QStringLiteral("document"),
                           QStringLiteral("--data"),
                           QStringLiteral("{data}"),
                           QStringLiteral("--project"),
                           project,
                           QStringLiteral("--odt"),
                           QStringLiteral("{out}")};
        QTest::newRow("export --ics, a dangling link into the folder")
            << QStringLiteral("Ana Morales.db") << false
            << QStringList{QStringLiteral("export-project"),
                           QStringLiteral("--data"),
                           QStringLiteral("{data}"),
                           QStringLiteral("--project"),
                           project,
                           QStringLiteral("--ics"),
                           QStringLiteral("{out}")};
    }
    void outputsNeverReachTheDataWhateverTheTiming() {
        VOK_FOLDER_ONLY("the data of a server has no file names to swap");
        QFETCH(QString, leadsTo);
        QFETCH(bool, hardLink);
        QFETCH(QStringList, args);
        const QString out = inRoot(QStringLiteral("out"));
        const QString partner = inRoot(QStringLiteral("partner"));
        for (QString& a : args)
            a.replace(QLatin1String("{data}"), data).replace(QLatin1String("{out}"), out);
        QFile earlier(out);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("last week's output");
        earlier.close();
        const QByteArray target = encoded(inData(leadsTo));
        QVERIFY(hardLink ? ::link(target.constData(), encoded(partner).constData()) == 0
                         : ::symlink(target.constData(), encoded(partner).constData()) == 0);
        const QStringList before = fingerprint(data);
        int written = 0;
        for (int round = 0; round < rounds(); ++round) {
            ProgramRun r;
            {
                const Swapper swapper(out, partner);
                r = vokctl(args);
            }
            QVERIFY2(r.status == 0 || r.status == 1, qPrintable(r.out + r.err));
            written += r.status == 0 ? 1 : 0;
            QCOMPARE(fingerprint(data), before);
        }
        qInfo("%d of %d runs wrote their output", written, rounds());
    }

    void sheetsSwappedForAnotherFileAreNeverReadOrEmptied_data() {
        QTest::addColumn<bool>("hardLink");
        QTest::newRow("a link to a file outside the folder") << false;
        QTest::newRow("another name of a file outside the folder") << true;
    }
    void sheetsSwappedForAnotherFileAreNeverReadOrEmptied() {
        VOK_FOLDER_ONLY("the sheets of a server are no files");
        QFETCH(bool, hardLink);
        const QString sheet = inData(crew + QStringLiteral(".db"));
        const QString outside = inRoot(QStringLiteral("outside.db"));
        const QString partner = inRoot(QStringLiteral("partner"));
        // Somebody's file outside the folder: a sheet of 500 lines, as a member's would be.
        FaultFolder::writeMemberLines(data, crew, 500, QStringLiteral("outside"), 1);
        QVERIFY(QFile::copy(sheet, outside));
        QVERIFY(hardLink
                    ? ::link(encoded(outside).constData(), encoded(partner).constData()) == 0
                    : ::symlink(encoded(outside).constData(), encoded(partner).constData()) == 0);
        const ino_t real = inodeOf(sheet);
        const QByteArray untouched = digest(outside);
        int merged = 0;
        for (int round = 0; round < rounds(); ++round) {
            // The member's own sheet back in its place, with lines to merge.
            if (inodeOf(sheet) != real)
                QVERIFY(::renameat2(AT_FDCWD, encoded(sheet).constData(), AT_FDCWD,
                                    encoded(partner).constData(), RENAME_EXCHANGE) == 0);
            FaultFolder::writeMemberLines(data, crew, 20, QStringLiteral("r%1").arg(round), 1);
            ProgramRun r;
            {
                const Swapper swapper(sheet, partner);
                r = vokctl({QStringLiteral("merge-timesheets"), QStringLiteral("--data"), data,
                            QStringLiteral("--member"), crew});
            }
            QVERIFY2(r.status == 0 || r.status == 1, qPrintable(r.out + r.err));
            merged += r.status == 0 ? 1 : 0;
            QVERIFY2(digest(outside) == untouched,
                     qPrintable(QStringLiteral("round %1: %2").arg(round).arg(r.out + r.err)));
        }
        qInfo("%d of %d merges ran", merged, rounds());
        vok::Store store;
        store.setParams({QStringLiteral("path=") + data});
        QCOMPARE(FaultFolder::booksDiffer(store), QString());
    }

    void twoImportsOfOneNameAtOnceMakeOneProject() {
        for (int round = 0; round < rounds(); ++round) {
            const QString name = QStringLiteral("Race %1").arg(round);
            const QString plan = inRoot(QStringLiteral("plan%1.xml").arg(round));
            QFile f(plan);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QStringLiteral("<Project><Title>%1</Title><Tasks><Task><UID>1</UID><Name>Dig"
                                   "</Name><OutlineLevel>1</OutlineLevel></Task></Tasks></Project>")
                        .arg(name)
                        .toUtf8());
            f.close();
            QProcess first, second;
            const QStringList args{QStringLiteral("import-project"), QStringLiteral("--data"), data,
                                   QStringLiteral("--xml"), plan};
            first.start(QStringLiteral(VOKCTL), args);
            second.start(QStringLiteral(VOKCTL), args);
            QVERIFY(first.waitForFinished(120000) && second.waitForFinished(120000));
            const QString said =
                QString::fromUtf8(first.readAllStandardError() + second.readAllStandardError());
            QCOMPARE(first.exitCode() + second.exitCode(), 1);
            QVERIFY2(said.contains(QLatin1String("exists already")), qPrintable(said));
            vok::Store store;
            store.setParams({QStringLiteral("path=") + data});
            QCOMPARE(FaultFolder::number(store, QStringLiteral("SELECT COUNT(*) FROM projects "
                                                               "WHERE Zel_project = '%1'")
                                                    .arg(name)),
                     1);
        }
    }
};

int runRaceTests(int argc, char** argv) {
    TestRace t;
    return QTest::qExec(&t, argc, argv);
}

#include "racetest.moc"

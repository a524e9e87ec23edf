// Vok installed as a desktop application: `cmake --install` into a temporary prefix, the desktop
// files checked by the desktop's own validators, and the installed programs run from there.
#include "support/programrun.h"

#include <QDirIterator>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestInstall : public QObject {
    Q_OBJECT

    QTemporaryDir root;
    QString prefix;

    QString path(const QString& relative) const { return root.filePath(relative); }
    QString installed(const QString& relative) const { return prefix + u'/' + relative; }

    // The programs run as on a user's machine: their settings and engine configuration in the
    // temporary folder, no display.
    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("VOK_ENGINE_CONFIG"), path(QStringLiteral("engine.cfg")));
        env.insert(QStringLiteral("XDG_CONFIG_DIRS"), path(QStringLiteral("xdg")));
        env.insert(QStringLiteral("VOK_UNATTENDED"), QStringLiteral("1"));
        return env;
    }

    ProgramRun run(const QString& program, const QStringList& arguments) const {
        return ProgramRun::of(program, arguments, environment());
    }

    // Unattended, every message box Vok shows is a line on standard error.
    static QStringList messageBoxes(const QString& err) {
        QStringList out;
        for (const QString& line : err.split(u'\n')) {
            if (line.startsWith(u'['))
                out << line;
        }
        return out;
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(root.isValid());
        prefix = path(QStringLiteral("usr"));
        const ProgramRun r = run(QStringLiteral(CMAKE_COMMAND),
                                 {QStringLiteral("--install"), QStringLiteral(BUILD_DIR),
                                  QStringLiteral("--prefix"), prefix});
        QVERIFY2(r.status == 0, qPrintable(r.out + r.err));
        const QString demo = path(QStringLiteral("demo"));
        QCOMPARE(
            run(installed(QStringLiteral("bin/vokctl")), {QStringLiteral("demo"), demo}).status, 0);
        QDir().mkpath(path(QStringLiteral("xdg")));
        QFile conf(path(QStringLiteral("xdg/Vok.conf")));
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write("[Vok]\nData=" + demo.toLocal8Bit() + "\n");
    }

    void installsTheDesktopApplicationAndNothingElse() {
        QStringList expected{
            QStringLiteral("bin/vok"),
            QStringLiteral("bin/vokctl"),
            QStringLiteral("share/applications/org.vok.Vok.desktop"),
            QStringLiteral("share/doc/vok/README.md"),
            QStringLiteral("share/doc/vok/changelog.gz"),
            QStringLiteral("share/doc/vok/copyright"),
            QStringLiteral("share/doc/vok/main-window.png"),
            QStringLiteral("share/icons/hicolor/48x48/apps/org.vok.Vok.png"),
            QStringLiteral("share/icons/hicolor/scalable/apps/org.vok.Vok.svg"),
            QStringLiteral("share/man/man1/vok.1.gz"),
            QStringLiteral("share/man/man1/vokctl.1.gz"),
            QStringLiteral("share/metainfo/org.vok.Vok.metainfo.xml"),
        };
        // The help page and its pictures, as the source holds them.
        const QDir help(QStringLiteral(SOURCE_DIR "/doc/help"));
        for (QDirIterator it(help.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
            expected << QStringLiteral("share/doc/vok/help/") + help.relativeFilePath(it.next());
        QStringList found;
        for (QDirIterator it(prefix, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
            found << QDir(prefix).relativeFilePath(it.next());
        expected.sort();
        found.sort();
        QCOMPARE(found, expected);
        QCOMPARE(QImage(installed(QStringLiteral("share/icons/hicolor/48x48/apps/org.vok.Vok.png")))
                     .size(),
                 QSize(48, 48));
    }

    void desktopFilesPassTheirValidators_data() {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("menu entry")
            << "desktop-file-validate"
            << QStringList{installed(QStringLiteral("share/applications/org.vok.Vok.desktop"))};
        QTest::newRow("AppStream metainfo")
            << "appstreamcli"
            << QStringList{QStringLiteral("validate"), QStringLiteral("--no-net"),
                           installed(QStringLiteral("share/metainfo/org.vok.Vok.metainfo.xml"))};
    }
    void desktopFilesPassTheirValidators() {
        QFETCH(QString, tool);
        QFETCH(QStringList, arguments);
        const ProgramRun r = run(tool, arguments);
        QVERIFY2(r.status == 0, qPrintable(tool + QStringLiteral(": ") + r.out + r.err));
    }

    void installedProgramsAnswer_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        const QString version = QStringLiteral(VOK_VERSION);
        QTest::newRow("vok --version")
            << "vok" << QStringList{"--version"} << 0 << "vok " + version + "\n";
        QTest::newRow("vok --help")
            << "vok" << QStringList{"--help"} << 0 << "Usage: vok [options]";
        QTest::newRow("vok, unknown option")
            << "vok" << QStringList{"--no-such-option"} << 2 << "Unknown option 'no-such-option'";
        QTest::newRow("vok, stray argument")
            << "vok" << QStringList{"project.db"} << 2 << "Unexpected argument 'project.db'";
        QTest::newRow("vokctl --version")
            << "vokctl" << QStringList{"--version"} << 0 << "vokctl " + version + "\n";
        QTest::newRow("vokctl --help")
            << "vokctl" << QStringList{"--help"} << 0 << "Usage: vokctl VERB [options]";
    }
    void installedProgramsAnswer() {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, says);
        const ProgramRun r = run(installed(QStringLiteral("bin/") + program), arguments);
        QCOMPARE(r.status, status);
        QVERIFY2((status == 0 ? r.out : r.err).contains(says), qPrintable(r.out + r.err));
    }

    void installedVokctlPrintsATimeLine() {
        const QString pdf = path(QStringLiteral("timeline.pdf"));
        const ProgramRun r =
            run(installed(QStringLiteral("bin/vokctl")),
                {QStringLiteral("report"), QStringLiteral("timeline"),
                 QStringLiteral("--data=") + path(QStringLiteral("demo")),
                 QStringLiteral("--project=Office Move"), QStringLiteral("--pdf=") + pdf});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        const ProgramRun text = run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QCOMPARE(text.status, 0);
        QVERIFY2(text.out.contains(QStringLiteral("Office Move")), qPrintable(text.out));
    }

    // The session ending (SIGTERM) closes Vok as its close button would, with status 0.
    void installedVokRunsUntilTheSessionEnds() {
        QProcess vok;
        vok.setProcessEnvironment(environment());
        vok.start(installed(QStringLiteral("bin/vok")), {});
        QVERIFY(vok.waitForStarted());
        QVERIFY2(!vok.waitForFinished(3000), vok.readAllStandardError().constData());
        vok.terminate();
        QVERIFY(vok.waitForFinished(30000));
        QCOMPARE(vok.exitStatus(), QProcess::NormalExit);
        QCOMPARE(vok.exitCode(), 0);
        QCOMPARE(messageBoxes(QString::fromLocal8Bit(vok.readAllStandardError())), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"

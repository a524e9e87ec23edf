// vokctl's command line, over every verb it lists: each has --help, takes --opt=value as it takes
// "--opt value", refuses an unknown option with status 2, and is documented in the man page.
#include "support/programrun.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Run in a folder of its own, so that paths given as values are alike from run to run.
ProgramRun vokctl(const QStringList& arguments, const QString& folder = QDir::tempPath()) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VOK_ENGINE_CONFIG"), folder + QStringLiteral("/engine.cfg"));
    return ProgramRun::of(QStringLiteral(VOKCTL), arguments, env, folder);
}

// The verbs, as `vokctl --help` lists them.
QStringList verbs() {
    const QString help = vokctl({QStringLiteral("--help")}).out;
    const QString list = help.mid(help.indexOf(QStringLiteral("Verbs:")));
    QStringList out;
    static const QRegularExpression line(QStringLiteral("^  (\\S+)"),
                                         QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(list); it.hasNext();)
        out << it.next().captured(1);
    return out;
}

// The options of a verb that take a value, as its --help lists them.
QStringList valueOptions(const QString& verb) {
    const QString help = vokctl({verb, QStringLiteral("--help")}).out;
    QStringList out;
    static const QRegularExpression option(QStringLiteral("--([a-z-]+) <"));
    for (auto it = option.globalMatch(help); it.hasNext();)
        out << it.next().captured(1);
    return out;
}

// How roff writes a name: its hyphens escaped.
QString roff(QString text) {
    return text.replace(QLatin1Char('-'), QStringLiteral("\\-"));
}

} // namespace

class TestVokctl : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY2(verbs().size() >= 5, "vokctl --help lists its verbs"); }

    void everyVerb_data() {
        QTest::addColumn<QString>("verb");
        for (const QString& verb : verbs())
            QTest::newRow(qPrintable(verb)) << verb;
    }

    void everyVerbHasHelp_data() { everyVerb_data(); }
    void everyVerbHasHelp() {
        QFETCH(QString, verb);
        const ProgramRun r = vokctl({verb, QStringLiteral("--help")});
        QCOMPARE(r.status, 0);
        QVERIFY2(r.out.startsWith(QStringLiteral("Usage: vokctl ") + verb + u' '),
                 qPrintable(r.out));
    }

    void everyVerbRefusesAnUnknownOption_data() { everyVerb_data(); }
    void everyVerbRefusesAnUnknownOption() {
        QFETCH(QString, verb);
        const ProgramRun r = vokctl({verb, QStringLiteral("--no-such-option")});
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.contains(
                     QStringLiteral("vokctl %1: Unknown option 'no-such-option'.\n").arg(verb)),
                 qPrintable(r.err));
        // The verb's help follows, so the user sees what it does take.
        QVERIFY2(r.err.contains(QStringLiteral("Usage: vokctl ") + verb), qPrintable(r.err));
    }

    void everyVerbIsInTheManPage_data() { everyVerb_data(); }
    void everyVerbIsInTheManPage() {
        QFETCH(QString, verb);
        QFile page(QStringLiteral(MAN_PAGE));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(page.readAll());
        QVERIFY2(text.contains(QRegularExpression(QStringLiteral("\n\\.BI? ") +
                                                  QRegularExpression::escape(roff(verb)) +
                                                  QStringLiteral("[ \n]"))),
                 "the verb has an entry of its own");
        for (const QString& option : valueOptions(verb))
            QVERIFY2(text.contains(roff(QStringLiteral("--") + option)), qPrintable(option));
    }

    // Every option that takes a value, of every verb.
    void equalsFormIsTheSpacedForm_data() {
        QTest::addColumn<QString>("verb");
        QTest::addColumn<QString>("option");
        for (const QString& verb : verbs()) {
            for (const QString& option : valueOptions(verb))
                QTest::addRow("%s --%s", qPrintable(verb), qPrintable(option)) << verb << option;
        }
    }
    void equalsFormIsTheSpacedForm() {
        QFETCH(QString, verb);
        QFETCH(QString, option);
        // A value no verb can act on, a relative path in a fresh folder for each run: both runs
        // must end alike, however far the verb gets with it.
        const QString value = QStringLiteral("absent");
        QTemporaryDir spaced;
        QTemporaryDir joined;
        ProgramRun a = vokctl({verb, QStringLiteral("--") + option, value}, spaced.path());
        ProgramRun b = vokctl({verb, QStringLiteral("--%1=%2").arg(option, value)}, joined.path());
        QVERIFY2(!b.err.contains(QStringLiteral("Unknown option")), qPrintable(b.err));
        QCOMPARE(b.status, a.status);
        QCOMPARE(b.err.replace(joined.path(), QStringLiteral("DIR")),
                 a.err.replace(spaced.path(), QStringLiteral("DIR")));
        QCOMPARE(b.out, a.out);
    }

    // The verbs that act on one project of a demo folder: what they print, how they end and
    // what they leave behind.
    void projectVerbs_data() {
        QTest::addColumn<QStringList>("args"); // DEMO and OUT stand for the folder and a file
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        QTest::addColumn<bool>("writes");
        const QStringList demo{"--data", "DEMO", "--project", "Riverside Library Renovation"};
        QTest::newRow("copy") << (QStringList{"copy-project"} + demo) << 0
                              << "to project 5: Copy of Riverside Library Renovation" << false;
        QTest::newRow("copy of nothing")
            << QStringList{"copy-project", "--data", "DEMO", "--project", "Nope"} << 1 << "Nope"
            << false;
        QTest::newRow("project document")
            << (QStringList{"document", "--odt", "OUT"} + demo) << 0 << "Wrote" << true;
        QTest::newRow("action document")
            << (QStringList{"document", "--odt", "OUT", "--major", "Design and permits", "--action",
                            "Survey existing building"} +
                demo)
            << 0 << "Wrote" << true;
        QTest::newRow("contact document")
            << (QStringList{"document", "--odt", "OUT", "--contact", "Tom Becker"} + demo) << 0
            << "Wrote" << true;
        QTest::newRow("unknown major")
            << (QStringList{"document", "--odt", "OUT", "--major", "Nope"} + demo) << 1 << "Nope"
            << false;
        QTest::newRow("action without its major")
            << (QStringList{"document", "--odt", "OUT", "--action", "X"} + demo) << 2
            << "--action needs the --major" << false;
    }
    void projectVerbs() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, says);
        QFETCH(bool, writes);
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("demo"));
        QCOMPARE(vokctl({QStringLiteral("demo"), folder}, dir.path()).status, 0);
        const QString file = dir.filePath(QStringLiteral("out.odt"));
        for (QString& a : args) {
            if (a == QLatin1String("DEMO"))
                a = folder;
            else if (a == QLatin1String("OUT"))
                a = file;
        }
        const ProgramRun r = vokctl(args, dir.path());
        QCOMPARE(r.status, status);
        QVERIFY2((status == 0 ? r.out : r.err).contains(says), qPrintable(r.out + r.err));
        QCOMPARE(QFileInfo::exists(file), writes);
        if (writes) // a whole archive, not an empty or cut-off file
            QVERIFY(QFileInfo(file).size() > 1000);
    }
};

QTEST_GUILESS_MAIN(TestVokctl)
#include "tst_vokctl.moc"

// Start-up: the storage configuration written at every start, the first activation of the main
// window, and an error before the message loop ending the process.
#include "app/storageconfiguration.h"
#include "data/projectdata.h"
#include "framework/dataset/databaseerror.h"
#include "framework/dataset/engineconfig.h"
#include "framework/ui/messages.h"
#include "support/testenvironment.h"
#include "ui/main/detailpage.h"
#include "ui/main/liveupdate.h"
#include "ui/main/mainwindow.h"
#include "ui/main/recordtab.h"
#include "ui/main/startupsequence.h"
#include "ui/main/treecontroller.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QSqlQuery>
#include <QStatusBar>
#include <QtTest>

class TestStartup : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    QStringList boxes;

    struct Window {
        std::unique_ptr<MainWindow> form = std::make_unique<MainWindow>();
        std::unique_ptr<ProjectData> dm = std::make_unique<ProjectData>();
        QList<int> translations;
        Window() {
            form->setDataModule(dm.get());
            form->translateInterface = [this](int index) { translations << index; };
        }
        ~Window() { form.reset(); }
    };

private Q_SLOTS:
    void init() {
        env = std::make_unique<TestEnvironment>();
        boxes.clear();
        vok::Messages::setHandler([this](const vok::Messages::Request& r) {
            boxes << r.title + QStringLiteral(": ") + r.text;
            return QMessageBox::Ok;
        });
    }
    void cleanup() {
        vok::Messages::setHandler({});
        env.reset();
    }

    void setBdeConfigFindsTheEntry_data() {
        QTest::addColumn<QString>("pathAndEntry");
        QTest::addColumn<QString>("error");
        QTest::newRow("existing entry") << "\\SYSTEM\\INIT\\;LOCAL SHARE"
                                        << "";
        QTest::newRow("no semicolon") << "\\SYSTEM\\INIT\\LOCAL SHARE"
                                      << "Invalid parameter passed to function.  There must be a "
                                         "semi-colon delimited sting passed";
        QTest::newRow("unknown entry")
            << "\\SYSTEM\\INIT\\;LANGDRIVERS"
            << "\\SYSTEM\\INIT\\;LANGDRIVERS entry was not found in configuration file";
        QTest::newRow("letter case counts")
            << "\\SYSTEM\\INIT\\;Local Share"
            << "\\SYSTEM\\INIT\\;Local Share entry was not found in configuration file";
        QTest::newRow("split at the first semicolon")
            << "\\SYSTEM\\INIT\\;LOCAL SHARE;X"
            << "\\SYSTEM\\INIT\\;LOCAL SHARE;X entry was not found in configuration file";
        QTest::newRow("unknown node")
            << "\\NOWHERE\\;LEVEL"
            << "\\NOWHERE\\;LEVEL entry was not found in configuration file";
    }
    void setBdeConfigFindsTheEntry() {
        QFETCH(QString, pathAndEntry);
        QFETCH(QString, error);
        try {
            StorageConfiguration::SetBdeConfig(pathAndEntry, QStringLiteral("Written"));
            QVERIFY(error.isEmpty());
            vok::EngineConfig config;
            config.initialise();
            QCOMPARE(config.value(vok::EngineConfig::systemInit, QStringLiteral("LOCAL SHARE"), {}),
                     QStringLiteral("Written"));
        } catch (const vok::DatabaseError& e) {
            QCOMPARE(e.message(), error);
        }
    }

    void entriesAreHonouredByCreatedDatabases() {
        StorageConfiguration::writeEntries();
        vok::EngineConfig config;
        config.initialise();
        const vok::EngineConfig::Settings s = config.settings();
        QCOMPARE(s.pageSize, 16384);
        QVERIFY(s.localShare);
        QCOMPARE(s.collation(), QStringLiteral("NOCASE"));
        const QString folder = env->emptyFolder();
        ProjectData dm;
        dm.connectTo(folder);
        QSqlQuery q = dm.store->exec(QStringLiteral("PRAGMA page_size"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 16384);
        // Text sorts without regard to letter case.
        dm.store->exec(QStringLiteral(
            "INSERT INTO members (Member_name) VALUES ('bob'), ('Alice'), ('carl')"));
        QSqlQuery sorted =
            dm.store->exec(QStringLiteral("SELECT Member_name FROM members ORDER BY Member_name"));
        QStringList names;
        while (sorted.next())
            names << sorted.value(0).toString();
        QCOMPARE(names, (QStringList{"Alice", "bob", "carl"}));
    }

    void firstActivationAppliesTheLanguage_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QList<int>>("translations");
        QTest::addColumn<QString>("box");
        QTest::newRow("absent") << QString() << QList<int>{} << "";
        QTest::newRow("0: built-in English") << "0" << QList<int>{} << "";
        QTest::newRow("1: French") << "1" << QList<int>{1} << "";
        QTest::newRow("7: English applied") << "7" << QList<int>{7} << "";
        QTest::newRow("-1: English applied") << "-1" << QList<int>{-1} << "";
        QTest::newRow("not a number")
            << "abc" << QList<int>{} << "Vok: 'abc' is not a valid integer value.";
    }
    void firstActivationAppliesTheLanguage() {
        QFETCH(QString, language);
        QFETCH(QList<int>, translations);
        QFETCH(QString, box);
        env->writeSettings(env->demoFolder(), language);
        Window w;
        w.form->startup->run();
        QCOMPARE(w.translations, translations);
        QCOMPARE(boxes.join(QLatin1Char('\n')), box);
        QVERIFY(w.dm->Members->isActive());
        QCOMPARE(w.form->projectPage->memberPickList().size(), 6);
        QCOMPARE(w.form->actionPage->memberPickList(), w.form->projectPage->memberPickList());
        QCOMPARE(w.form->projectPage->record->toHint->text(), QStringLiteral("MM/dd/yyyy"));
        // The conversion error skips the rest: the tree stays empty.
        QCOMPARE(w.form->tree->view()->topLevelItemCount(), box.isEmpty() ? 4 : 0);
    }

    void dataPathIsUsedAsGiven_data() {
        QTest::addColumn<bool>("trailingSeparator");
        QTest::newRow("without separator") << false;
        QTest::newRow("with separator") << true;
    }
    void dataPathIsUsedAsGiven() {
        QFETCH(bool, trailingSeparator);
        const QString folder =
            env->demoFolder() + (trailingSeparator ? QStringLiteral("/") : QString());
        env->writeSettings(folder, QStringLiteral("0"));
        Window w;
        w.form->startup->run();
        QCOMPARE(w.dm->DataPath, folder);
        QCOMPARE(w.dm->store->path(), folder);
        QCOMPARE(w.dm->store->networkControlDir(), folder);
        QVERIFY(boxes.isEmpty());
        QVERIFY(w.dm->projects->recordCount() > 0);
    }

    void liveUpdatesFollowTheSetting_data() {
        QTest::addColumn<QString>("value"); // null: no LiveUpdates line
        QTest::addColumn<bool>("on");
        QTest::newRow("absent") << QString() << true;
        QTest::newRow("true") << "true" << true;
        QTest::newRow("1") << "1" << true;
        QTest::newRow("false") << "false" << false;
        QTest::newRow("False") << "False" << false;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("no") << "no" << false;
        QTest::newRow("off") << " off" << false;
    }
    void liveUpdatesFollowTheSetting() {
        QFETCH(QString, value);
        QFETCH(bool, on);
        env->writeSettings(env->demoFolder(), QStringLiteral("0"));
        if (!value.isNull()) {
            QSettings conf(QDir(env->root()).filePath(QStringLiteral("etc/Vok.conf")),
                           QSettings::IniFormat);
            conf.setValue(QStringLiteral("Vok/LiveUpdates"), value);
        }
        Window w;
        QVERIFY(!w.form->liveUpdate->isActive());
        w.form->startup->run();
        QCOMPARE(w.form->liveUpdate->isActive(), on);
        // Off, the window looks as it always did: no status bar.
        QCOMPARE(w.form->findChild<QStatusBar*>() != nullptr, on);
    }

    void theUpdateNoteGivesHoursAndMinutes_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("note");
        QTest::newRow("C, seconds in its short format")
            << "C"
            << "Updated from another installation at 10:42";
        QTest::newRow("en_US") << "en_US"
                               << "Updated from another installation at 10:42 AM";
        QTest::newRow("fr_FR") << "fr_FR"
                               << "Updated from another installation at 10:42";
    }
    void theUpdateNoteGivesHoursAndMinutes() {
        QFETCH(QString, locale);
        QFETCH(QString, note);
        const QLocale before;
        QLocale::setDefault(QLocale(locale));
        const QString made = LiveUpdate::note(QTime(10, 42, 7));
        QLocale::setDefault(before);
        QCOMPARE(made, note);
    }

    void missingTableIsShownOnceAndTheApplicationGoesOn() {
        const QString folder = env->demoFolder();
        {
            ProjectData dm;
            dm.connectTo(folder);
            dm.store->exec(QStringLiteral("DROP TABLE ProjectContact"));
        }
        env->writeSettings(folder, QStringLiteral("0"));
        Window w;
        w.form->startup->run();
        QCOMPARE(boxes.size(), 1);
        QVERIFY(
            boxes[0].startsWith(QStringLiteral("Vok: Table does not exist: ProjectContact.DB")));
        QVERIFY(!w.dm->Contacts->isActive());
        // The pick lists were filled before the failure; a later activation does not retry.
        QCOMPARE(w.form->majorPage->memberPickList().size(), 0);
        w.form->startup->run();
        QCOMPARE(boxes.size(), 1);
    }

    void missingDataFolderIsShownOnce() {
        env->writeSettings(QDir(env->root()).filePath(QStringLiteral("nowhere")),
                           QStringLiteral("0"));
        Window w;
        w.form->startup->run();
        w.form->startup->run(); // the window activated again when the box closed
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes[0].contains(QStringLiteral("nowhere")), qPrintable(boxes[0]));
        QVERIFY(!w.dm->store->isOpen());
    }

    void firstShowRunsTheActivationWithoutAWindowManager() {
        env->writeSettings(env->demoFolder(), QStringLiteral("0"));
        Window w;
        w.form->show();
        QTRY_VERIFY(w.dm->projects->isActive());
        QCOMPARE(w.form->tree->view()->topLevelItemCount(), 4);
    }

    void laterActivationsReadNothingAgain() {
        env->writeSettings(env->demoFolder(), QStringLiteral("1"));
        Window w;
        w.form->startup->run();
        env->writeSettings(env->emptyFolder(), QStringLiteral("2"));
        w.form->startup->run();
        QCOMPARE(w.translations, QList<int>{1});
        QCOMPARE(w.form->projectPage->memberPickList().size(), 6);
    }

    void engineSettingsThatCannotBeWrittenAreToldAndVokStarts() {
        // An engine configuration that cannot be written (its folder is a file): once a full disk
        // did this, and it must never keep the user out.
        QFile blocker(QDir(env->root()).filePath(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QProcess vok;
        QProcessEnvironment pe = QProcessEnvironment::systemEnvironment();
        pe.insert(QStringLiteral("VOK_ENGINE_CONFIG"),
                  blocker.fileName() + QStringLiteral("/engine.cfg"));
        pe.insert(QStringLiteral("VOK_UNATTENDED"), QStringLiteral("1"));
        pe.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        vok.setProcessEnvironment(pe);
        vok.start(QStringLiteral(VOK_BINARY), {});
        QVERIFY(vok.waitForStarted(30000));
        QString err;
        QDeadlineTimer deadline(30000);
        while (!err.contains(QLatin1String("goes on")) && !deadline.hasExpired() &&
               vok.state() == QProcess::Running) {
            vok.waitForFinished(500);
            err += QString::fromLocal8Bit(vok.readAllStandardError());
        }
        QVERIFY2(err.contains(QStringLiteral("Cannot write")), qPrintable(err));
        QVERIFY2(vok.state() == QProcess::Running, qPrintable(err));
        vok.terminate();
        QVERIFY(vok.waitForFinished(30000));
        QCOMPARE(vok.exitCode(), 0);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"

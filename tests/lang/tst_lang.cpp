// Interface languages: the caption table against every window and report made at start-up, the
// switch from the menu and from the settings, and Qt's own texts.
#include "app/exe/appwindows.h"
#include "app/settings.h"
#include "costs/costentrywindow.h"
#include "costs/costupdatedialog.h"
#include "data/projectdata.h"
#include "framework/report/report.h"
#include "framework/report/reportlabel.h"
#include "framework/report/reportpreview.h"
#include "framework/report/reportsysdata.h"
#include "framework/ui/messages.h"
#include "framework/ui/modal.h"
#include "framework/widgets/dbctrlgrid.h"
#include "framework/widgets/dbgrid.h"
#include "lang/interfacelanguage.h"
#include "reports/layoutreport.h"
#include "reports/layoutreportdialog.h"
#include "reports/projectreport.h"
#include "reports/projectreportdialog.h"
#include "reports/timelinedialog.h"
#include "reports/timelinereport.h"
#include "support/testenvironment.h"
#include "timesheets/timesheetentrywindow.h"
#include "timesheets/timesheetreport.h"
#include "timesheets/timesheetreportdialog.h"
#include "ui/main/detailpage.h"
#include "ui/main/mainwindow.h"
#include "ui/main/memberlistwindow.h"
#include "ui/main/recordtab.h"
#include "ui/main/startupsequence.h"
#include "ui/main/treecontroller.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLibraryInfo>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

// Reads one text straight from a window, without the applier.
using Read = std::function<QString(AppWindows&)>;

QString reportText(QObject* report, const char* name) {
    return report->findChild<vok::ReportLabel*>(QLatin1String(name))->text();
}

QString panelCaption(vok::DBCtrlGrid* grid, int line) {
    // Every panel shows the line's caption.
    QStringList shown;
    for (int i = 0; i < grid->panelCount(); ++i)
        shown << grid->panel(i)->caption(line)->text();
    shown.removeDuplicates();
    return shown.join(QLatin1Char('|'));
}

QString text(QObject* window, const char* name) {
    return window->findChild<QAbstractButton*>(QLatin1String(name))->text();
}

QString join(const QStringList& texts) {
    return texts.join(QLatin1Char('|'));
}

} // namespace

Q_DECLARE_METATYPE(Read)

class TestLanguages : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    QStringList boxes;

    // Every target's text as the windows show it now.
    static QStringList texts(const AppWindows& windows) {
        QStringList all;
        for (const Caption& c : CaptionSet::all()) {
            if (windows.language->applier().hasWindow(c.window))
                all << c.target() + QStringLiteral(" = [") + windows.language->applier().text(c) +
                           QLatin1Char(']');
        }
        return all;
    }

private Q_SLOTS:
    void init() {
        env = std::make_unique<TestEnvironment>();
        boxes.clear();
        vok::Messages::setHandler([this](const vok::Messages::Request& r) {
            boxes << r.text;
            return QMessageBox::Ok;
        });
    }
    void cleanup() {
        vok::Messages::setHandler({});
        vok::Modal::setHandler({});
        env.reset();
    }

    void everyTargetResolvesToAnElementOfItsKind_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("English") << 0;
        QTest::newRow("French") << 1;
        QTest::newRow("Spanish") << 2;
    }
    void everyTargetResolvesToAnElementOfItsKind() {
        QFETCH(int, language);
        const QList<Caption>& table = CaptionSet::all();
        QCOMPARE(table.size(), 332);
        AppWindows windows;
        windows.language->TranslateInterface(language);
        QStringList problems;
        QSet<QString> targets;
        for (const Caption& c : table) {
            if (const QString p = windows.language->applier().problem(c); !p.isEmpty())
                problems << p;
            else if (windows.language->applier().text(c) != c.texts[language])
                problems << c.target() + QStringLiteral(": not written");
            if (targets.contains(c.target()))
                problems << c.target() + QStringLiteral(": named twice");
            targets.insert(c.target());
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }

    // Classes may be renamed freely: the table names windows and components by object name only,
    // and those names stay what stored layouts and the accessibility bus address.
    void targetsAreObjectNamesThatDoNotChange() {
        AppWindows windows;
        QSet<QString> classes;
        for (QObject* w : windows.windows()) {
            classes.insert(QString::fromLatin1(w->metaObject()->className()));
            for (QObject* o : w->findChildren<QObject*>())
                classes.insert(QString::fromLatin1(o->metaObject()->className()));
        }
        const QRegularExpression numbered(QStringLiteral("^T(Form|DataModule)[0-9]+$"));
        QStringList problems;
        QStringList targets;
        for (const Caption& c : CaptionSet::all()) {
            for (const QString& name : {c.window, c.component}) {
                if (classes.contains(name) || classes.contains(QStringLiteral("vok::") + name) ||
                    numbered.match(name).hasMatch())
                    problems << c.target() + QStringLiteral(": names a class");
            }
            if (c.kind != CaptionKind::Text)
                targets << (c.component.isEmpty() ? c.window
                                                  : c.window + QLatin1Char('.') + c.component);
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        targets.removeDuplicates();
        targets.sort();
        QFile file(QStringLiteral(CAPTION_TARGETS));
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        QStringList expected;
        for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n')))
            if (!line.isEmpty() && !line.startsWith(QLatin1Char('#')))
                expected << line;
        QCOMPARE(targets, expected);
    }

    void misnamedTargetIsReportedByName_data() {
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("problem");
        QTest::newRow("no such component") << "Form1\tLabel99\tlabel\t-\t\"a\"\t\"b\"\t\"c\""
                                           << "Form1.Label99 label: no such component";
        QTest::newRow("of another kind")
            << "Form1\tSpeedButton1\tbutton\t-\t\"a\"\t\"b\"\t\"c\""
            << "Form1.SpeedButton1 button: the component is a QToolButton";
        QTest::newRow("column past the last")
            << "Form1\tDBGrid1\tcolumn\t3\t\"a\"\t\"b\"\t\"c\""
            << "Form1.DBGrid1 column 3: the component is a vok::DBGrid without that index";
        QTest::newRow("no such window") << "Form99\t-\twindow\t-\t\"a\"\t\"b\"\t\"c\""
                                        << "Form99 window: there is no window Form99";
        QTest::newRow("a field is no label")
            << "Form5\tQRDBText2\treportlabel\t-\t\"a\"\t\"b\"\t\"c\""
            << "Form5.QRDBText2 reportlabel: the component is a vok::ReportFieldText";
    }
    void misnamedTargetIsReportedByName() {
        QFETCH(QString, row);
        QFETCH(QString, problem);
        AppWindows windows;
        const QList<Caption> captions = CaptionSet::parse(row);
        QCOMPARE(captions.size(), 1);
        QCOMPARE(windows.language->applier().problem(captions[0]), problem);
    }

    void englishOnFreshWindowsChangesNothing() {
        AppWindows windows;
        const QStringList built = texts(windows);
        QStringList english;
        for (const Caption& c : CaptionSet::all()) {
            if (windows.language->applier().hasWindow(c.window))
                english << c.target() + QStringLiteral(" = [") + c.texts[0] + QLatin1Char(']');
        }
        QCOMPARE(built, english);
        windows.language->SetEnglishCaptions();
        QCOMPARE(texts(windows), built);
    }

    void englishRestoresEveryBuiltText_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("english");
        QTest::newRow("French, then English") << 1 << 0;
        QTest::newRow("Spanish, then English") << 2 << 0;
        QTest::newRow("French, then 5") << 1 << 5;
        QTest::newRow("Spanish, then -1") << 2 << -1;
    }
    void englishRestoresEveryBuiltText() {
        QFETCH(int, first);
        QFETCH(int, english);
        AppWindows windows;
        const QStringList built = texts(windows);
        windows.language->TranslateInterface(first);
        const QStringList translated = texts(windows);
        int changed = 0;
        for (int i = 0; i < built.size(); ++i)
            changed += built[i] != translated[i];
        QVERIFY2(changed > built.size() / 2, qPrintable(QString::number(changed)));
        windows.language->TranslateInterface(english);
        QCOMPARE(texts(windows), built);
    }

    void tellingRows_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<Read>("read");
        QTest::addColumn<QString>("text");
        const auto row = [](const char* name, int language, Read read, const char* text) {
            QTest::newRow(name) << language << read << QString::fromUtf8(text);
        };
        row(
            "main window", 2, [](AppWindows& f) { return f.mainWindow->windowTitle(); },
            "Gerencia De Proyecto Del Vok");
        row(
            "tab with a trailing blank", 2,
            [](AppWindows& f) { return f.mainWindow->actionPage->tabText(0); }, "Acción ");
        row(
            "menu", 2, [](AppWindows& f) { return f.mainWindow->timeSheetMenu->title(); },
            "Hoja De Tiempo");
        row(
            "same text, another tab", 2,
            [](AppWindows& f) { return f.mainWindow->majorPage->tabText(3); }, "Hojas De Tiempo");
        row(
            "project menu's Add Major", 1,
            [](AppWindows& f) { return f.mainWindow->addMajorAction->text(); },
            "Ajouter une Activité Majeur");
        row(
            "major menu's Add Major", 1,
            [](AppWindows& f) { return f.mainWindow->addSiblingMajorAction->text(); },
            "Ajouter un Activité Majeur");
        row(
            "menu item and its window", 2,
            [](AppWindows& f) {
                return join(
                    {f.mainWindow->updateCostEntriesAction->text(), f.costUpdate->windowTitle()});
            },
            "Entries del coste de la actualización|Entradas del coste de la actualización");
        row(
            "grid hint with two blanks", 2,
            [](AppWindows& f) { return f.mainWindow->actionPage->team->toolTip(); },
            "Utilice los claves de flecha para navegar a partir de una entrada a otra. Ctrl-Del  "
            "suprimir una entrada.");
        row(
            "tree hint", 1, [](AppWindows& f) { return f.mainWindow->tree->view()->toolTip(); },
            "Clique de droit sur un item sélectionné pour ajouter et détruire");
        row(
            "grid columns", 1,
            [](AppWindows& f) {
                return join({f.mainWindow->actionPage->team->columnTitle(1),
                             f.mainWindow->projectPage->team->columnTitle(1),
                             f.mainWindow->majorPage->team->columnTitle(0)});
            },
            "couriel|Couriel|Membre");
        row(
            "speed buttons", 2,
            [](AppWindows& f) {
                return join({f.mainWindow->actionPage->teamMailButton->text(),
                             f.mainWindow->majorPage->teamMailButton->text()});
            },
            "Email Del Miembro|Email Miembro");
        row(
            "record tab label", 2,
            [](AppWindows& f) { return f.mainWindow->actionPage->record->leaderLabel->text(); },
            "Jefe De la Acción");
        row(
            "caption in every time-sheet panel", 2,
            [](AppWindows& f) {
                return join({panelCaption(f.mainWindow->majorPage->timeSheets, 0),
                             panelCaption(f.mainWindow->actionPage->costs, 1)});
            },
            "Comience|Hasta");
        row(
            "radio group and items", 1,
            [](AppWindows& f) {
                return join({f.report<TimeLineDialog>()->scaleGroup->title(),
                             f.report<TimeLineDialog>()->scaleChoice->button(0)->text(),
                             f.report<TimeLineDialog>()->startChoice->button(1)->text()});
            },
            "Échelle de temps|Jour|Aujourd'hui");
        row(
            "check box with trailing blanks", 1,
            [](AppWindows& f) { return f.report<TimeLineDialog>()->showPrintDialog->text(); },
            "Montrer dialogue d'impression  ");
        row(
            "dialog window", 1,
            [](AppWindows& f) { return f.report<TimeLineDialog>()->windowTitle(); },
            "Imprimer rapport de temps");
        row(
            "entry window", 2,
            [](AppWindows& f) {
                return join({f.entryWindow->actionLabel->text(), f.entryWindow->closeButton->text(),
                             f.costEntry->quantityLabel->text()});
            },
            "Acción|Cercano|Importe");
        row(
            "report labels with trailing blanks", 1,
            [](AppWindows& f) {
                return join({reportText(f.report<TimeLineReport>(), "QRLabel14"),
                             reportText(f.report<TimeLineReport>(), "QRLabel2"), QString()});
            },
            "Vert = completé    |Gris = Non Critique et Non Completé  |");
        for (int language : {1, 2}) {
            QTest::newRow(qPrintable(QStringLiteral("kept English %1").arg(language)))
                << language << Read([](AppWindows& f) {
                       return join({f.mainWindow->copyProjectAction->text(),
                                    f.mainWindow->englishAction->text(),
                                    f.mainWindow->frenchAction->text(),
                                    f.mainWindow->spanishAction->text(),
                                    f.mainWindow->projectPage->contactListButton->text(),
                                    reportText(f.report<TimeLineReport>(), "MajorDateLabel")});
                   })
                << QString::fromUtf8("Copy project|English|Français|Espagnol|Print list|-->");
        }
        row(
            "Close with a trailing blank", 2,
            [](AppWindows& f) {
                return join({text(f.report<TimeSheetReportDialog>(), "Button3"),
                             text(f.report<TimeLineDialog>(), "Button3")});
            },
            "Cercano |Cercano");
        row(
            "From date in a report and in its dialog", 2,
            [](AppWindows& f) {
                return join({reportText(f.report<TimeSheetReport>(), "QRLabel1"),
                             f.report<TimeSheetReportDialog>()
                                 ->findChild<QLabel*>(QStringLiteral("Label2"))
                                 ->text()});
            },
            "Comience|A partir de fecha");
        row(
            "dialog titles and their menu items", 1,
            [](AppWindows& f) {
                return join({f.report<ProjectReportDialog>()->windowTitle(),
                             f.mainWindow->printProjectAction->text(),
                             f.report<LayoutReportDialog>()->windowTitle(),
                             reportText(f.report<LayoutReport>(), "QRLabel1")});
            },
            "Imprimer Rapport Projet|Imprimer rapport des projets|Imprimer rapport "
            "hiarchique|Rapport Hiarchique");
        row(
            "page prefixes", 2,
            [](AppWindows& f) {
                return join({reportText(f.report<ProjectReport>(), "QRSysData2"),
                             reportText(f.report<LayoutReport>(), "QRSysData2"),
                             reportText(f.report<ProjectReport>(), "QRLabel25")});
            },
            "Paginación #|Paginación #|Jefe");
        row(
            "members list columns", 2,
            [](AppWindows& f) {
                return f.memberList->findChild<vok::DBGrid*>(QStringLiteral("DBGrid1"))
                    ->columnTitle(2);
            },
            "Dirección de email");
        row(
            "report page label", 2,
            [](AppWindows& f) { return reportText(f.report<TimeLineReport>(), "QRLabel11"); },
            "Paginación #");
        row(
            "report date prefix", 2,
            [](AppWindows& f) { return f.report<TimeLineReport>()->currentDateText->text(); },
            "Fecha actual:");
    }
    void tellingRows() {
        QFETCH(int, language);
        QFETCH(Read, read);
        QFETCH(QString, text);
        AppWindows windows;
        windows.language->TranslateInterface(language);
        QCOMPARE(read(windows), text);
    }

    void menuSwitchesTheLanguageForThisRunOnly() {
        env->writeSettings(env->demoFolder(), QStringLiteral("0"));
        AppWindows windows;
        windows.mainWindow->startup->run();
        windows.mainWindow->spanishAction->trigger();
        QCOMPARE(windows.mainWindow->windowTitle(), QStringLiteral("Gerencia De Proyecto Del Vok"));
        windows.mainWindow->frenchAction->trigger();
        QCOMPARE(windows.mainWindow->windowTitle(), QStringLiteral("Vok Gestion de Projet"));
        windows.mainWindow->englishAction->trigger();
        QCOMPARE(windows.mainWindow->windowTitle(), QStringLiteral("Vok Project Dadiduzoro"));
        windows.mainWindow->frenchAction->trigger();
        // The next start comes up as the settings say.
        QCOMPARE(Settings::read().language, QStringLiteral("0"));
        QVERIFY(boxes.isEmpty());
    }

    void settingsNameTheLanguageAtStart_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("box");
        QTest::newRow("absent") << QString() << "Vok Project Dadiduzoro"
                                << "";
        QTest::newRow("1: French") << "1"
                                   << "Vok Gestion de Projet"
                                   << "";
        QTest::newRow("2: Spanish") << "2"
                                    << "Gerencia De Proyecto Del Vok"
                                    << "";
        QTest::newRow("7: English") << "7"
                                    << "Vok Project Dadiduzoro"
                                    << "";
        QTest::newRow("-1: English") << "-1"
                                     << "Vok Project Dadiduzoro"
                                     << "";
        QTest::newRow("not a number") << "deux"
                                      << "Vok Project Dadiduzoro"
                                      << "'deux' is not a valid integer value.";
    }
    void settingsNameTheLanguageAtStart() {
        QFETCH(QString, language);
        QFETCH(QString, title);
        QFETCH(QString, box);
        env->writeSettings(env->demoFolder(), language);
        AppWindows windows;
        windows.mainWindow->startup->run();
        QCOMPARE(windows.mainWindow->windowTitle(), title);
        QCOMPARE(boxes.join(QLatin1Char('\n')), box);
        // A dialog never shown is in the same language.
        QCOMPARE(windows.entryWindow->actionLabel->text() == QStringLiteral("Action"),
                 title != QStringLiteral("Gerencia De Proyecto Del Vok"));
        QCOMPARE(windows.mainWindow->tree->view()->topLevelItemCount(), box.isEmpty() ? 4 : 0);
    }

    void closedDialogOpensInTheLanguageChosen() {
        env->writeSettings(env->demoFolder(), QStringLiteral("0"));
        AppWindows windows;
        windows.mainWindow->startup->run();
        QStringList shown;
        vok::Modal::setHandler([&](QDialog* dialog) {
            auto* timeLineDialog = qobject_cast<TimeLineDialog*>(dialog);
            shown << join({dialog->windowTitle(), timeLineDialog->startChoice->button(0)->text(),
                           timeLineDialog->closeButton->text()});
            return int(QDialog::Rejected);
        });
        windows.mainWindow->printTimeLineAction->trigger();
        windows.mainWindow->frenchAction->trigger(); // while the dialog is closed
        windows.mainWindow->printTimeLineAction->trigger();
        QCOMPARE(shown, (QStringList{"Print Time Line report|Project Start Date|Close",
                                     QString::fromUtf8("Imprimer rapport de temps|Date début du "
                                                       "projet|Fermer")}));
    }

    void vokctlPrintsInTheLanguageAsked_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("element");
        QTest::addColumn<QString>("text");
        const auto row = [](const char* name, const QStringList& args, const char* element,
                            const char* text) {
            QTest::newRow(name) << args << QString::fromLatin1(element) << QString::fromUtf8(text);
        };
        row("time line in Spanish", {"timeline", "--language=2"}, "QRLabel11", "Paginación #");
        row("time sheets in Spanish", {"timesheets", "--language=2"}, "QRLabel1", "Comience");
        row("costs in French", {"costs", "--language=1"}, "QRLabel6", "Montant");
        row("layout in French", {"layout", "--language=1"}, "QRLabel1", "Rapport Hiarchique");
        row("project report's date in Spanish", {"project", "--language=2"}, "QRSysData1",
            "Fecha:");
        row("7 is English", {"timeline", "--language=7"}, "QRLabel11", "Page #");
        row("current date in Spanish", {"timeline", "--language=2"}, "QRSysData3", "Fecha actual:");
        row("contact list stays English", {"contacts", "--language=1"}, "QRLabel1", "Contact List");
        // No element: the command refuses, saying why.
        row("a language that is no number", {"layout", "--language=French"}, "",
            "--language takes");
    }
    void vokctlPrintsInTheLanguageAsked() {
        QFETCH(QStringList, args);
        QFETCH(QString, element);
        QFETCH(QString, text);
        const QString json = QDir(env->root()).filePath(QStringLiteral("layout.json"));
        QProcess vokctl;
        vokctl.start(QStringLiteral(VOKCTL),
                     QStringList{QStringLiteral("report")}
                         << args
                         << QStringList{QStringLiteral("--data"), env->demoFolder(),
                                        QStringLiteral("--project"), QStringLiteral("Office Move"),
                                        QStringLiteral("--layout-json"), json});
        QVERIFY(vokctl.waitForFinished(30000));
        const QString err = QString::fromLocal8Bit(vokctl.readAllStandardError());
        if (element.isEmpty()) {
            QVERIFY(vokctl.exitCode() != 0);
            QVERIFY2(err.contains(text), qPrintable(err));
            return;
        }
        QVERIFY2(vokctl.exitCode() == 0, qPrintable(err));
        QFile file(json);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonArray items =
            QJsonDocument::fromJson(
                file.readAll())[QStringLiteral("pages")][0][QStringLiteral("items")]
                .toArray();
        QStringList printed;
        for (const QJsonValue& item : items) {
            if (item[QStringLiteral("id")].toString() == element)
                printed << item[QStringLiteral("text")].toString();
        }
        QCOMPARE(printed.size(), 1);
        QVERIFY2(printed[0].startsWith(text), qPrintable(printed[0]));
    }

    void wordsTheCodeMakesFollowTheLanguage_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("previewTitle");
        QTest::addColumn<QString>("noPrinter");
        QTest::newRow("English") << 0 << "Detailed Project Report"
                                 << "No printer is installed. The report was saved as x.pdf";
        QTest::newRow("French") << 1 << QString::fromUtf8("Rapport détaillé du projet")
                                << QString::fromUtf8("Aucune imprimante n'est installée. Le "
                                                     "rapport a été enregistré sous x.pdf");
        QTest::newRow("Spanish") << 2 << "Informe Detallado Del Proyecto"
                                 << QString::fromUtf8("No hay ninguna impresora instalada. El "
                                                      "informe se guardó como x.pdf");
    }
    void wordsTheCodeMakesFollowTheLanguage() {
        QFETCH(int, language);
        QFETCH(QString, previewTitle);
        QFETCH(QString, noPrinter);
        env->writeSettings(env->demoFolder(), QStringLiteral("0"));
        AppWindows windows;
        windows.mainWindow->startup->run();
        windows.language->TranslateInterface(language);
        QString shown;
        vok::Modal::setHandler([&](QDialog* d) {
            if (qobject_cast<vok::ReportPreview*>(d))
                shown = d->windowTitle();
            return int(QDialog::Rejected);
        });
        windows.mainWindow->printProjectAction->trigger();
        windows.report<ProjectReportDialog>()->previewButton->click();
        QCOMPARE(shown, previewTitle);
        QCOMPARE(QCoreApplication::translate("Printing",
                                             "No printer is installed. The report was saved as %1")
                     .arg(QStringLiteral("x.pdf")),
                 noPrinter);
        windows.language->TranslateInterface(0);
        QCOMPARE(QCoreApplication::translate("Form5", "page %1 of %2: %3 to %4"),
                 QStringLiteral("page %1 of %2: %3 to %4"));
    }

    void qtTextsFollowTheLanguage() {
        if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                           QStringLiteral("/qtbase_fr.qm")))
            QSKIP("Qt's translations (qt6-translations-l10n) are not installed");
        AppWindows windows;
        const auto cancel = [] {
            QDialogButtonBox box(QDialogButtonBox::Cancel);
            return box.button(QDialogButtonBox::Cancel)->text();
        };
        windows.language->TranslateInterface(1);
        QCOMPARE(cancel(), QStringLiteral("Annuler"));
        windows.language->TranslateInterface(2);
        QCOMPARE(cancel(), QStringLiteral("Cancelar"));
        windows.language->TranslateInterface(0);
        QCOMPARE(cancel(), QStringLiteral("Cancel"));
    }
};

QTEST_MAIN(TestLanguages)
#include "tst_lang.moc"

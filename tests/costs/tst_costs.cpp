// The cost entry file, its merge into the project cost table, the entry and update windows and
// vokctl merge-costs, against real data folders.
#include "costs/costentrywindow.h"
#include "costs/costmerge.h"
#include "costs/costupdatedialog.h"
#include "framework/dataset/databaseerror.h"
#include "framework/ui/messages.h"
#include "framework/ui/modal.h"
#include "framework/widgets/dbctrlgrid.h"
#include "framework/widgets/dbdateedit.h"
#include "framework/widgets/dbedit.h"
#include "mergefixture.h"
#include "support/engines.h"
#include "ui/main/detailpage.h"
#include "ui/main/recordtab.h"
#include "ui/main/treecontroller.h"

#include <QAction>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

using vok::DBNavigator;
using vok::Messages;

class TestCosts : public QObject {
    Q_OBJECT

    std::unique_ptr<MergeFixture> fx;
    QList<Messages::Request> shown;

    ProjectData& dm() { return fx->dm(); }

    static EntryLine costLine(const QString& names, const QVariant& amount) {
        EntryLine l = MergeFixture::parse({names}).value(0);
        l.from = QStringLiteral("2024-02-05T00:00:00");
        l.to = QStringLiteral("2024-02-06T00:00:00");
        l.quantity = amount;
        return l;
    }

    int pendingCosts() {
        return fx->value(QStringLiteral("SELECT COUNT(*) FROM Costentry")).toInt();
    }

private Q_SLOTS:
    void initTestCase_data() { Engines::addRows(); }

    void init() {
        VOK_INIT_ENGINE();
        fx = std::make_unique<MergeFixture>();
        shown.clear();
        Messages::setHandler([this](const Messages::Request& r) {
            shown << r;
            return QMessageBox::Ok;
        });
        vok::Modal::setHandler([](QDialog*) { return int(QDialog::Accepted); });
    }

    void cleanup() {
        vok::Modal::setHandler({});
        Messages::setHandler({});
        fx.reset();
    }

    void mergeRaisesActualCosts_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("changes");
        QTest::newRow("action level raises all three")
            << QStringList{"Bridge|Build|Survey|250.5"} << QStringList{"1,2,3"}
            << "A3+250.5 M2+250.5 P1+250.5";
        QTest::newRow("project only raises the project")
            << QStringList{"Tunnel|||99.99"} << QStringList{"2,0,0"} << "P2+99.99";
        QTest::newRow("unknown project: number 0, no total")
            << QStringList{"Nowhere|Design|Survey|10"} << QStringList{"0,0,0"} << "";
        QTest::newRow("unknown major activity: its action is not looked up elsewhere")
            << QStringList{"Bridge|Nope|Survey|10"} << QStringList{"1,0,0"} << "P1+10";
        QTest::newRow("the first of two projects of one name")
            << QStringList{"Twin|Plan||5"} << QStringList{"3,4,0"} << "M4+5 P3+5";
        QTest::newRow("every line of the file")
            << QStringList{"Bridge|Design||1", "Bridge|Design||2", "Tunnel|||4"}
            << QStringList{"1,1,0", "1,1,0", "2,0,0"} << "M1+3 P1+3 P2+4";
        QTest::newRow("empty file") << QStringList{} << QStringList{} << "";
    }
    void mergeRaisesActualCosts() {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, rows);
        QFETCH(QString, changes);
        QList<EntryLine> entries;
        for (const EntryLine& l : MergeFixture::parse(lines))
            entries << costLine(l.project + '|' + l.major + '|' + l.action, l.quantity);
        fx->writeCostLines(entries);
        const auto before = fx->totals(QStringLiteral("costs"));
        const auto hours = fx->totals(QStringLiteral("hours"));
        QCOMPARE(CostMerge(dm()).run().lines, lines.size());
        QCOMPARE(fx->rowNumbers(QStringLiteral("ProjectCost")), rows);
        QCOMPARE(MergeFixture::changes(before, fx->totals(QStringLiteral("costs"))), changes);
        QCOMPARE(fx->totals(QStringLiteral("hours")), hours);
        QCOMPARE(pendingCosts(), 0);
        QVERIFY(!dm().Costs->isActive());
        QVERIFY(!dm().CostEntry->isActive());
    }

    void rowHoldsDatesWithoutTimeOfDay_data() {
        QTest::addColumn<QVariant>("from");
        QTest::addColumn<QVariant>("amount");
        QTest::addColumn<QString>("row");
        QTest::newRow("time of day dropped")
            << QVariant(QStringLiteral("2024-02-05T14:30:00")) << QVariant(12.5)
            << "2024-02-05/2024-02-06/12.5/paint";
        QTest::newRow("empty date and amount")
            << QVariant() << QVariant() << "1899-12-30/2024-02-06/0/paint";
    }
    void rowHoldsDatesWithoutTimeOfDay() {
        QFETCH(QVariant, from);
        QFETCH(QVariant, amount);
        QFETCH(QString, row);
        EntryLine l = costLine(QStringLiteral("Bridge"), amount);
        l.from = from;
        l.to = QStringLiteral("2024-02-06T09:15:00");
        l.notes = QStringLiteral("paint");
        fx->writeCostLines({l});
        CostMerge(dm()).run();
        QCOMPARE(
            fx->value(QStringLiteral(
                          "SELECT ProjectCost_date_from || '/' || ProjectCost_date_to || '/' || "
                          "ProjectCost_Amount || '/' || ProjectCost_Notes FROM ProjectCost"))
                .replace(QStringLiteral("/0.0/"), QStringLiteral("/0/")), // either engine's way
            row);
    }

    void failureLeavesTheCostsAsTheyWere() {
        fx->writeCostLines({costLine(QStringLiteral("Bridge|Design|Survey"), 10),
                            costLine(QStringLiteral("Tunnel"), 20)});
        const auto before = fx->totals(QStringLiteral("costs"));
        CostMerge failing(dm());
        failing.afterLine = [](int line) {
            if (line == 1)
                throw vok::DatabaseError(QStringLiteral("locked"));
        };
        QVERIFY_THROWS_EXCEPTION(vok::DatabaseError, failing.run());
        QCOMPARE(fx->rowNumbers(QStringLiteral("ProjectCost")), QStringList{});
        QCOMPARE(fx->totals(QStringLiteral("costs")), before);
        QCOMPARE(pendingCosts(), 2);
        QVERIFY(!dm().CostEntry->isActive());
        QCOMPARE(CostMerge(dm()).run().lines, 2); // each line exactly once
        QCOMPARE(MergeFixture::changes(before, fx->totals(QStringLiteral("costs"))),
                 QStringLiteral("A1+10 M1+10 P1+10 P2+20"));
    }

    // A value the merge would read as 0 or 30 December 1899 (or too large to add up) keeps every
    // line out of the merge; the window and vokctl name the file, the line and the column.
    void unreadableValueLeavesTheCostsUnmerged_data() {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("says");
        QTest::newRow("amount: words") << "amount" << QVariant(QStringLiteral("ten"))
                                       << "column \"Amount\" (Cost_Amount): 'ten' is not a number.";
        QTest::newRow("amount: infinity")
            << "amount" << QVariant(-qInf())
            << "column \"Amount\" (Cost_Amount): -inf is not a number.";
        QTest::newRow("amount: 1e308")
            << "amount" << QVariant(QStringLiteral("1e308"))
            << "column \"Amount\" (Cost_Amount): 1e+308 is too large a number.";
        QTest::newRow("date from: month 13")
            << "from" << QVariant(QStringLiteral("2024-13-01T00:00:00"))
            << "column \"Date from\" (Cost_Date_from): '2024-13-01T00:00:00' is not a date.";
        QTest::newRow("date to: words") << "to" << QVariant(QStringLiteral("tomorrow"))
                                        << "column \"Date to\" (Cost_Date_to): 'tomorrow' is not "
                                           "a date.";
    }
    void unreadableValueLeavesTheCostsUnmerged() {
        VOK_FOLDER_ONLY("the server refuses such a value when it is written");
        QFETCH(QString, column);
        QFETCH(QVariant, stored);
        QFETCH(QString, says);
        EntryLine bad = costLine(QStringLiteral("Tunnel"), 3);
        (column == QLatin1String("amount") ? bad.quantity
         : column == QLatin1String("from") ? bad.from
                                           : bad.to) = stored;
        fx->writeCostLines({costLine(QStringLiteral("Bridge"), 1),
                            costLine(QStringLiteral("Bridge|Design"), 2), bad});
        const auto before = fx->totals(QStringLiteral("costs"));
        const QString message = QStringLiteral("Costentry in vok.sqlite, line 3, ") + says;

        CostUpdateDialog costUpdate(&dm());
        costUpdate.show();
        costUpdate.updateClicked();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].icon, Messages::Icon::Error);
        QVERIFY2(shown[0].text.contains(message), qPrintable(shown[0].text));
        QVERIFY(costUpdate.isVisible());

        const MergeFixture::Run run = fx->vokctl(
            QStringLiteral(VOKCTL), {QStringLiteral("merge-costs"), QStringLiteral("--data=DIR")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));

        QCOMPARE(fx->rowNumbers(QStringLiteral("ProjectCost")), QStringList{});
        QCOMPARE(fx->totals(QStringLiteral("costs")), before);
        QCOMPARE(pendingCosts(), 3);
    }

    // ------------------------------------------------------------ windows

    void updateSaysProcessCompleteOnlyWhenDone_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("entryTableMissing");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty file") << QStringList{} << false << "Process Complete";
        QTest::newRow("lines") << QStringList{"Bridge|||5"} << false << "Process Complete";
        QTest::newRow("a project not found is told")
            << QStringList{"Bridge|||5", "Nowhere|||1", "Nowhere|||2"} << false
            << "Process Complete\n\n2 lines named what was not found; they were booked with "
               "number 0 from that level down:\n  project \"Nowhere\" (2 lines)";
        QTest::newRow("failure") << QStringList{} << true << "Costentry";
    }
    void updateSaysProcessCompleteOnlyWhenDone() {
        QFETCH(QStringList, lines);
        QFETCH(bool, entryTableMissing);
        QFETCH(QString, message);
        for (const EntryLine& l : MergeFixture::parse(lines))
            fx->writeCostLines({costLine(l.project, l.quantity)});
        if (entryTableMissing)
            dm().store->exec(QStringLiteral("DROP TABLE Costentry"));
        CostUpdateDialog costUpdate(&dm());
        QAction menuItem;
        costUpdate.connectMenu(&menuItem);
        vok::Modal::setHandler([&](QDialog* d) {
            d->show();
            costUpdate.updateClicked();
            return d->result();
        });
        menuItem.trigger();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].text.contains(message), qPrintable(shown[0].text));
        QCOMPARE(costUpdate.isVisible(), entryTableMissing); // stays open after a failure
        QCOMPARE(fx->rowNumbers(QStringLiteral("ProjectCost")).size(), lines.size());
    }

    void entryFileStaysOpenAfterCloseAndItsLineIsMerged() {
        fx->writeCostLines({costLine(QStringLiteral("Tunnel"), 20)});
        CostEntryWindow costEntry(&dm());
        QAction menuItem;
        costEntry.connectMenu(&menuItem);
        vok::Modal::setHandler([](QDialog* d) {
            d->show(); // left open for the test to type in
            return 0;
        });
        menuItem.trigger();
        QVERIFY(QTest::qWaitForWindowActive(&costEntry));
        QVERIFY(dm().CostEntry->isActive());
        QTest::mouseClick(costEntry.navigator->button(DBNavigator::Button::Insert), Qt::LeftButton);
        // A new cost line starts empty.
        QCOMPARE(costEntry.fromEdit->text(), QString());
        QCOMPARE(costEntry.quantityEdit->text(), QString());
        costEntry.quantityEdit->setFocus();
        QTest::keyClicks(costEntry.quantityEdit, QStringLiteral("75"));
        QTest::mouseClick(costEntry.closeButton, Qt::LeftButton);
        QVERIFY(!costEntry.isVisible());
        // Reopened, the window is where it was: the same line, still typed in.
        QCOMPARE(dm().CostEntry->state(), vok::Table::State::Insert);
        costEntry.show();
        QVERIFY(QTest::qWaitForWindowActive(&costEntry));
        QCOMPARE(costEntry.quantityEdit->text(), QStringLiteral("$75.00"));
        QVERIFY(costEntry.quantityEdit->isEnabled());
        costEntry.hide();
        // Updating right away merges every line, the one being typed included.
        CostUpdateDialog costUpdate(&dm());
        costUpdate.updateClicked();
        QCOMPARE(fx->rowNumbers(QStringLiteral("ProjectCost")), (QStringList{"2,0,0", "0,0,0"}));
        QCOMPARE(pendingCosts(), 0);
    }

    // Two installations on one folder: here the cost entry window was closed with its lines read
    // (the file stays open); the other installation merges them; this one's update must find
    // them gone rather than merge them a second time.
    void linesMergedByAnotherInstallationAreNotMergedAgain() {
        fx->writeCostLines({costLine(QStringLiteral("Bridge"), 1),
                            costLine(QStringLiteral("Tunnel"), 2),
                            costLine(QStringLiteral("Bridge|Design"), 3)});
        CostEntryWindow costEntry(&dm());
        costEntry.show();
        QVERIFY(QTest::qWaitForWindowActive(&costEntry));
        QTest::mouseClick(costEntry.navigator->button(DBNavigator::Button::Last), Qt::LeftButton);
        QTest::mouseClick(costEntry.closeButton, Qt::LeftButton);
        QVERIFY(dm().CostEntry->isActive());

        const auto before = fx->totals(QStringLiteral("costs"));
        QCOMPARE(CostMerge(*fx->otherInstallation()).run().lines, 3);
        QCOMPARE(CostMerge(dm()).run().lines, 0);

        QCOMPARE(fx->rowNumbers(QStringLiteral("ProjectCost")),
                 (QStringList{"1,0,0", "2,0,0", "1,1,0"}));
        QCOMPARE(MergeFixture::changes(before, fx->totals(QStringLiteral("costs"))),
                 QStringLiteral("M1+3 P1+4 P2+2"));
    }

    void mainWindowShowsTheMergedRowsAndCosts() {
        fx->writeCostLines({costLine(QStringLiteral("Bridge|Design"), 250)});
        MergeFixture::OpenWindow main = fx->openMainWindow();
        MainWindow& form = *main.form;
        QVERIFY(form.tree->selectNode(QStringLiteral("1")));
        form.projectPage->setCurrentWidget(form.projectPage->costTab);
        QCOMPARE(form.projectPage->costs->rowCount(), 0);
        CostUpdateDialog costUpdate(
            &main.dm->walks()); // as Vok makes it: the page stays where it is
        costUpdate.updateClicked();
        QCOMPARE(shown.value(0).text, QStringLiteral("Process Complete"));
        QCOMPARE(form.projectPage->costs->rowCount(), 1);
        form.projectPage->setCurrentWidget(form.projectPage->record);
        QCOMPARE(form.projectPage->record->actual->text(), QStringLiteral("$1,250.00"));
    }

    void commandLine_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("says");
        QTest::newRow("merges") << QStringList{"--data", "DIR"} << 0
                                << "Merged 2 lines from the cost entry file.";
        QTest::newRow("names not found")
            << QStringList{"--data", "DIR"} << 0 << "  project \"Nowhere\"";
        QTest::newRow("the --opt=value form") << QStringList{"--data=DIR"} << 0 << "Merged 2 lines";
        QTest::newRow("no data folder") << QStringList{} << 2 << "--data is required";
        QTest::newRow("unknown option")
            << QStringList{"--data", "DIR", "--dry-run"} << 2 << "Unknown option 'dry-run'";
        QTest::newRow("missing data folder")
            << QStringList{"--data", "DIR/none"} << 1 << "does not exist";
    }
    void commandLine() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, says);
        fx->writeCostLines(
            {costLine(QStringLiteral("Bridge"), 5), costLine(QStringLiteral("Nowhere"), 1)});
        const MergeFixture::Run run =
            fx->vokctl(QStringLiteral(VOKCTL), QStringList{QStringLiteral("merge-costs")} + args);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2((exitCode == 0 ? run.out : run.err).contains(says), qPrintable(run.out + run.err));
        QCOMPARE(pendingCosts(), exitCode == 0 ? 0 : 2);
    }
};

QTEST_MAIN(TestCosts)
#include "tst_costs.moc"

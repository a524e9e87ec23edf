// A record tab's budget figures and the tree's over-budget mark, on both engines: what the page
// costs to show, whatever the rows booked under it, and which nodes the tree marks.
#include "data/projectdata.h"
#include "framework/dataset/shortdate.h"
#include "framework/dataset/store.h"
#include "mainwindowfixture.h"
#include "support/engines.h"
#include "ui/main/budgetview.h"
#include "ui/main/detailpage.h"
#include "ui/main/mainwindow.h"
#include "ui/main/projecttree.h"

#include <QAction>
#include <QLabel>
#include <QTreeWidgetItem>
#include <QtTest>

class TestBudgetPage : public MainWindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { Engines::addRows(); }
    void init() {
        VOK_INIT_ENGINE();
        setUp();
    }
    void cleanup() { tearDown(); }

    void aPagesFiguresAreOneStatementWhateverItsRows_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<int>("level");
        QTest::newRow("project") << "12" << 0;
        QTest::newRow("major activity") << "12,3" << 1;
        QTest::newRow("action") << "12,3,5" << 2;
    }
    void aPagesFiguresAreOneStatementWhateverItsRows() {
        QFETCH(QString, id);
        QFETCH(int, level);
        // Many rows booked on the action, so on every level above it too.
        for (int i = 0; i < 40; ++i) {
            const QString day = QDate(2024, 4, 1).addDays(i).toString(Qt::ISODate);
            sql(QStringLiteral("INSERT INTO ProjectTS (ProjectTS_project_id, ProjectTS_major_id, "
                               "ProjectTS_action_id, ProjectTS_member, ProjectTS_date_from, "
                               "ProjectTS_date_to, ProjectTS_hours) VALUES (12, 3, 5, 'Ann', "
                               "'%1', '%1', 1)")
                    .arg(day));
            sql(QStringLiteral("INSERT INTO ProjectCost (ProjectCost_project_id, "
                               "ProjectCost_major_id, ProjectCost_action_id, "
                               "ProjectCost_date_from, ProjectCost_date_to, ProjectCost_Amount) "
                               "VALUES (12, 3, 5, '%1', '%1', 1)")
                    .arg(day));
        }
        select(QStringLiteral("14"));
        quint64 before = dm->store->statementsRun();
        select(id);
        qInfo("selecting %s on %s: %llu statements", qPrintable(id), qPrintable(Engines::current()),
              dm->store->statementsRun() - before);
        const BudgetView* view = form->pages()[level]->budget;
        QCOMPARE(view->start->text(), vok::ShortDate::format(QDate(2024, 4, 1)));
        QCOMPARE(view->finish->text(), vok::ShortDate::format(QDate(2024, 5, 10)));
        // Out of view, nothing is read for it; back in view, one statement.
        QTabWidget* p = page(level);
        p->setCurrentWidget(form->pages()[level]->notesTab);
        before = dm->store->statementsRun();
        p->setCurrentIndex(0);
        QCoreApplication::processEvents();
        QCOMPARE(dm->store->statementsRun() - before, quint64(1));
    }

    void theTreeMarksANodeUsedBeyondItsBudget_data() {
        QTest::addColumn<QVariantList>("figures"); // budget hours, hours, budget, actual
        QTest::addColumn<bool>("over");
        QTest::newRow("hours over") << QVariantList{10, 10.5, 100, 0} << true;
        QTest::newRow("costs over") << QVariantList{10, 0, 100, 100.01} << true;
        QTest::newRow("a budget of 0 with actuals") << QVariantList{0, 1, QVariant(), 0} << true;
        QTest::newRow("a budget of 0 without") << QVariantList{0, 0, 0, 0} << false;
        QTest::newRow("all used, no more") << QVariantList{10, 10, 100, 100} << false;
        QTest::newRow("no budget") << QVariantList{QVariant(), 99, QVariant(), 99} << false;
    }
    void theTreeMarksANodeUsedBeyondItsBudget() {
        QFETCH(QVariantList, figures);
        QFETCH(bool, over);
        other->exec(QStringLiteral("UPDATE major SET Major_budget_hours = ?, Major_hours = ?, "
                                   "Major_budget = ?, Major_actual = ? WHERE Major_id = 4"),
                    figures);
        other->exec(QStringLiteral("UPDATE action SET Action_budget_hours = ?, Action_hours = ?, "
                                   "Action_budget = ?, Action_actual = ? WHERE Action_id = 6"),
                    figures);
        other->exec(QStringLiteral("UPDATE projects SET Zel_budget_hours = ?, Zel_hours = ?, "
                                   "Zel_Budget = ?, Zel_actual = ? WHERE Zel_Project_id = 14"),
                    figures);
        action(QStringLiteral("Refresh1"))->trigger();
        for (const char* id : {"12,4", "12,3,6", "14"}) {
            const QTreeWidgetItem* item = node(QLatin1String(id));
            QCOMPARE(ProjectTree::isOverBudget(item), over);
            QCOMPARE(item->toolTip(0), over ? u"Over budget"_qs : QString());
        }
        // The others stay as they were, their red and green too.
        QVERIFY(!ProjectTree::isOverBudget(node(QStringLiteral("12"))));
        QCOMPARE(ProjectTree::statusOf(node(QStringLiteral("12,4"))), u"2"_qs);
        QCOMPARE(ProjectTree::statusOf(node(QStringLiteral("14"))), u"1"_qs);
    }
};

QTEST_MAIN(TestBudgetPage)
#include "tst_budgetpage.moc"

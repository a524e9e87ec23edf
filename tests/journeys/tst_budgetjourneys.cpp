// Budgets as a person keeps them: a node clicked in the tree, a budget typed on its record tab
// and the field left with the Tab key; what was stored is read back with plain SQL, and the tab
// and the tree hold it against what the node really took.
#include "journeyfixture.h"
#include "ui/main/budgetbar.h"
#include "ui/main/budgetview.h"
#include "ui/main/detailpage.h"
#include "ui/main/mainwindow.h"
#include "ui/main/projecttree.h"

#include <QLabel>
#include <QtTest>

namespace {
const QString riverside = QStringLiteral("Riverside Library Renovation");
const QString design = riverside + QStringLiteral("/Design and permits");
const QString survey = design + QStringLiteral("/Survey existing building");
} // namespace

class TestBudgetJourneys : public JourneyFixture {
    Q_OBJECT

    BudgetView* shownBudget() {
        for (DetailPage* p : form->pages()) {
            if (p->isVisible())
                return p->budget;
        }
        return nullptr;
    }

private Q_SLOTS:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void aBudgetTypedIsStoredAndHeldAgainstTheActuals_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("bar"); // the bar's figure; empty: no bar
        QTest::addColumn<bool>("over");   // the tree marks the node

        const QString project =
            QStringLiteral("SELECT %1 FROM projects WHERE Zel_project = 'Riverside Library "
                           "Renovation'");
        const QString major = QStringLiteral("SELECT %1 FROM major WHERE Major_item = 'Design and "
                                             "permits'");
        const QString action = QStringLiteral("SELECT %1 FROM action WHERE Action_name = 'Survey "
                                              "existing building'");
        QTest::newRow("project: budget hours")
            << riverside << "ProjectBudgetHours"
            << "1000" << project.arg(u"Zel_budget_hours"_qs) << "1000"
            << "177 of 1,000 h, 18 %" << false;
        QTest::newRow("major activity: budget hours below the actual hours")
            << design << "MajorBudgetHours"
            << "120" << major.arg(u"Major_budget_hours"_qs) << "120"
            << "over by 29 h" << true;
        QTest::newRow("major activity: a budget of 0 with actuals is over")
            << design << "MajorBudget"
            << "0" << major.arg(u"Major_budget"_qs) << "0"
            << "over by $2,490.50" << true;
        QTest::newRow("action: budget below the actual costs")
            << survey << "ActionBudget"
            << "1500.5" << action.arg(u"Action_budget"_qs) << "1500.5"
            << "over by $349.50" << true;
        QTest::newRow("action: an emptied budget is empty, and no bar")
            << survey << "ActionBudgetHours"
            << "" << action.arg(u"Action_budget_hours"_qs) << ""
            << "" << false;
    }

    void aBudgetTypedIsStoredAndHeldAgainstTheActuals() {
        QFETCH(QString, path);
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(QString, query);
        QFETCH(QString, stored);
        QFETCH(QString, bar);
        QFETCH(bool, over);
        clickNode(path);
        click(edit);
        retype(typed);
        if (typed.isEmpty())
            key(Qt::Key_Delete);
        tab();
        QCOMPARE(this->stored(query), stored);
        BudgetView* view = shownBudget();
        QVERIFY(view);
        const bool hours = edit.endsWith(u"Hours"_qs);
        BudgetBar* b = hours ? view->hoursUsed : view->costUsed;
        QCOMPARE(b->isVisible(), !bar.isEmpty());
        if (!bar.isEmpty()) {
            QCOMPARE(b->text(), bar);
            QCOMPARE(b->isOver(), bar.startsWith(u"over"_qs));
        }
        // No budget, nothing left; the forecast needs none.
        if (bar.isEmpty())
            QCOMPARE((hours ? view->hoursNote : view->costNote)->text(), u"forecast 38.5 h"_qs);
        QCOMPARE(ProjectTree::isOverBudget(nodeAt(path)), over);
        QCOMPARE(shown.size(), 0);
    }

    void aNegativeBudgetIsRefusedAndTheStoredOneStays() {
        const QString query = QStringLiteral(
            "SELECT Zel_Budget FROM projects WHERE Zel_project = 'Riverside Library Renovation'");
        const QString before = stored(query);
        clickNode(riverside);
        click(u"ProjectBudget"_qs);
        retype(u"-5"_qs);
        tab();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, u"'-5' is refused: a budget cannot be negative."_qs);
        // The text stays to be put right, where the focus went back to.
        QCOMPARE(focused()->objectName(), u"ProjectBudget"_qs);
        retype(u"90000"_qs);
        tab();
        QCOMPARE(stored(query), u"90000"_qs);
        QVERIFY(before != stored(query));
    }

    void aParentSaysWhatItsChildrensBudgetsAddUpTo() {
        clickNode(design);
        // The demo's three actions of 60 h each, under a major activity of 180 h: no word.
        QVERIFY(!shownBudget()->hoursNote->text().contains(u"add up"_qs));
        click(u"MajorBudgetHours"_qs);
        retype(u"200"_qs);
        tab();
        QCOMPARE(shownBudget()->hoursNote->text(),
                 u"51 h left, forecast 160.22 h, actions add up to 180 h"_qs);
    }
};

QTEST_MAIN(TestBudgetJourneys)
#include "tst_budgetjourneys.moc"

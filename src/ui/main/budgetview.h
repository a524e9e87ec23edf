#pragma once

#include "data/nodefigures.h"
#include "pagedesign.h"

#include <QObject>
#include <QString>
#include <QVariantList>
#include <memory>

class BudgetBar;
class QLabel;
class QTimer;
class RecordTab;

namespace vok {
class Table;
} // namespace vok

// A record tab's plan against actual: beside the actual hours and costs, bars of how much of the
// budget each has used; beside the budgets, what is left, the forecast at completion and what the
// children's budgets add up to where that differs; beside the planned dates, the actual start and
// finish, read only. The record's own fields give the figures as they are typed. The booked days
// and the children's budgets take one statement, read when the tab comes into view and when the
// record it shows changes while it is in view: selecting a node costs one statement, not one per
// row, and a page out of view costs none.
class BudgetView : public QObject {
    Q_OBJECT
public:
    BudgetView(RecordTab* tab, const PageDesign& design);
    ~BudgetView() override;

    void bind(vok::Table* table);

    // Object names: the level's prefix ("Project", "Major", "Action") and HoursUsed, CostUsed,
    // BudgetHoursNote, BudgetNote, ActualStart, ActualFinish (with Label for their captions).
    BudgetBar* hoursUsed;
    BudgetBar* costUsed;
    QLabel* hoursNote;
    QLabel* costNote;
    QLabel* startLabel;
    QLabel* start;
    QLabel* finishLabel;
    QLabel* finish;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The figures of the record's own fields; no statement.
    void showFigures();
    // The booked days and the children's budgets of the record shown.
    void readPage();
    QVariantList key() const;

    RecordTab* tab_;
    const PageDesign& design_;
    vok::Table* table_ = nullptr;
    std::unique_ptr<NodeFigures> figures_;
    NodeFigures::Page page_;
    QVariantList pageKey_; // the key page_ was read for
    QTimer* reread_;
};

#pragma once

#include "data/nodefigures.h"
#include "reportform.h"

#include <QHash>
#include <array>

namespace vok {
class ReportLabel;
class ReportShape;
} // namespace vok

// "Budget and actuals": one row per node of the chosen project in tree order (the project, then
// each major activity followed by its actions), each with its budget hours, actual hours, hours
// left, budget, actual costs, cost left, % complete, actual start and finish, forecasts at
// completion, and a pair of bars for the hours and the costs used of their budgets; after the
// major activities, their totals. Left is the budget less the actual, negative when over; an
// empty budget leaves its left empty and draws no bar. Never shown: BudgetReportDialog and
// vokctl run it. Its rows as a spreadsheet takes them are printedRows().
class BudgetReport : public ReportForm {
    Q_OBJECT
public:
    explicit BudgetReport(ProjectData* dm, QObject* parent = nullptr);

    // The columns of a row, in printing (and spreadsheet) order after the names.
    enum Column {
        BudgetHours,
        ActualHours,
        HoursLeft,
        Budget,
        ActualCosts,
        CostLeft,
        PercentComplete,
        ActualStart,
        ActualFinish,
        ForecastHours,
        ForecastCost,
        ColumnCount
    };

private:
    // A bar: the budget's frame, what was used in it, and the line where the budget ends.
    struct Bar {
        vok::ReportShape* track = nullptr;
        vok::ReportShape* used = nullptr;
        vok::ReportShape* end = nullptr;
    };
    // The elements a level's row (or the totals, which draw no bars) fills.
    struct Row {
        std::array<vok::ReportLabel*, ColumnCount> cells{};
        Bar hours;
        Bar costs;
    };
    // What one row shows.
    struct Figures {
        NodeFigures::Use hours;
        NodeFigures::Use costs;
        bool hoursKnown = false; // an actual stored, not empty
        bool costsKnown = false;
        std::optional<int> percent;
        NodeFigures::Days days;
        // Budget less actual, or the sum of the rows' (the totals).
        std::optional<double> hoursLeft;
        std::optional<double> costLeft;
    };

    Row rowOf(const char* prefix, bool cellsOnly = false);
    // The record a level's band prints, as a row of figures, written to its elements and to the
    // spreadsheet rows.
    void printNode(int level);
    void fill(const Row& row, const Figures& f);
    void printTotals(bool& print);

    std::array<Row, 3> rows_;
    Row totals_;
    QHash<QString, NodeFigures::Days> booked_;
    // The major activities of the project being printed, added up.
    Figures sum_;
    int majors_ = 0;
};

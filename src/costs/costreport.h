#pragma once

#include "reports/periodreport.h"

#include <QDate>
#include <functional>
#include <optional>

// What the cost report prints: the rows whose whole period lies within the bounds given.
struct CostOptions {
    std::optional<QDate> from;
    std::optional<QDate> to;
};

// The cost report: the merged cost rows of the chosen project and period with the total of
// their amounts. Never shown: CostReportDialog and vokctl run it.
class CostReport : public PeriodReport {
    Q_OBJECT
public:
    CostReport(ProjectData* dm, std::function<CostOptions()> options, QObject* parent = nullptr);

private:
    void readOptions() override;
    bool rowPasses() const override;

    std::function<CostOptions()> options_;
    CostOptions current_;
};

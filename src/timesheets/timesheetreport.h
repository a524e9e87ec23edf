#pragma once

#include "reports/periodreport.h"

#include <QDate>
#include <QString>
#include <functional>
#include <optional>

// What the time sheet report prints: the rows whose whole period lies within the bounds given,
// of one member or, with none, of every member.
struct TimeSheetOptions {
    std::optional<QDate> from;
    std::optional<QDate> to;
    std::optional<QString> member;
};

// The time sheet report: the merged time sheet rows of the chosen project, period and member
// with the total of their hours. Never shown: TimeSheetReportDialog and vokctl run it.
class TimeSheetReport : public PeriodReport {
    Q_OBJECT
public:
    TimeSheetReport(ProjectData* dm, std::function<TimeSheetOptions()> options,
                    QObject* parent = nullptr);

private:
    void readOptions() override;
    bool rowPasses() const override;

    std::function<TimeSheetOptions()> options_;
    TimeSheetOptions current_;
    vok::Field* member_;
};

#pragma once

#include "reports/perioddialog.h"
#include "timesheetreport.h"

class QComboBox;

// "Print Time Sheets": the project, the period and the member (or "All") whose time sheet rows
// the report prints.
class TimeSheetReportDialog : public PeriodDialog {
    Q_OBJECT
public:
    explicit TimeSheetReportDialog(ProjectData* dm, QWidget* parent = nullptr);

    QComboBox* Project;
    QLabel* memberLabel; // Label4, "Team member"
    QComboBox* Member;

    // What the report prints, as the dialog's fields say now.
    TimeSheetOptions options() const;

protected:
    // Dates of the last 365 days; "All" and every member, "All" chosen.
    void prepare() override;
};

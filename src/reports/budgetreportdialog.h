#pragma once

#include "reportdialog.h"

// "Budget and actuals": which project's budgets to print against what they took.
class BudgetReportDialog : public ReportDialog {
    Q_OBJECT
public:
    explicit BudgetReportDialog(ProjectData* dm, QWidget* parent = nullptr);
};

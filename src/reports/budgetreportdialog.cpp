#include "budgetreportdialog.h"

BudgetReportDialog::BudgetReportDialog(ProjectData* dm, QWidget* parent)
    : ReportDialog(dm, "Form28", QStringLiteral("Budget and actuals"), "ComboBox1",
                   ProjectChoice::Typed, parent) {
    resize(544, 144);
}

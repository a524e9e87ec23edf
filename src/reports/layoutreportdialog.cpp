#include "layoutreportdialog.h"

LayoutReportDialog::LayoutReportDialog(ProjectData* dm, QWidget* parent)
    : ReportDialog(dm, "Form8", QStringLiteral("Project Layout Report"), "ComboBox1",
                   ProjectChoice::Typed, parent) {
    resize(544, 144);
}

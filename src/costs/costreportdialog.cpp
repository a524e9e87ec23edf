#include "costreportdialog.h"

CostReportDialog::CostReportDialog(ProjectData* dm, QWidget* parent)
    : PeriodDialog(dm, "Form20", QStringLiteral("Print Cost Entries"), parent),
      Project(projectBox()) {
    resize(420, 200);
}

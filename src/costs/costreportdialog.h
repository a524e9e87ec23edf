#pragma once

#include "costreport.h"
#include "reports/perioddialog.h"

class QComboBox;

// "Print Cost Entries": the project and the period whose cost rows the report prints.
class CostReportDialog : public PeriodDialog {
    Q_OBJECT
public:
    explicit CostReportDialog(ProjectData* dm, QWidget* parent = nullptr);

    QComboBox* Project;

    // What the report prints, as the dialog's fields say now.
    CostOptions options() const { return {fromDate(), toDate()}; }
};

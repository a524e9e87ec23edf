#pragma once

#include "reports/perioddialog.h"
#include "tform21.h"

class QComboBox;

// "Print Cost Entries": the project and the period whose cost rows the report prints.
class TForm20 : public PeriodDialog {
    Q_OBJECT
public:
    explicit TForm20(TDataModule2* dm, QWidget* parent = nullptr);

    QComboBox* Project;

    // What the report prints, as the dialog's fields say now.
    CostOptions options() const { return {fromDate(), toDate()}; }
};

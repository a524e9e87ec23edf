#pragma once

#include "reports/perioddialog.h"
#include "tform13.h"

class QComboBox;

// "Print Time Sheets": the project, the period and the member (or "All") whose time sheet rows
// the report prints.
class TForm14 : public PeriodDialog {
    Q_OBJECT
public:
    explicit TForm14(TDataModule2* dm, QWidget* parent = nullptr);

    QComboBox* Project;
    QLabel* Label4; // "Team member"
    QComboBox* Member;

    // What the report prints, as the dialog's fields say now.
    TimeSheetOptions options() const;

protected:
    // Dates of the last 365 days; "All" and every member, "All" chosen.
    void prepare() override;
};

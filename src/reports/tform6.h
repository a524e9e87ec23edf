#pragma once

#include "reportdialog.h"
#include "tform7.h"

class QComboBox;

// "Print Project report": which project, and which of its parts besides the header and the
// objectives the detailed report prints. The check boxes keep their state between openings.
class TForm6 : public ReportDialog {
    Q_OBJECT
public:
    explicit TForm6(TDataModule2* dm, QWidget* parent = nullptr);

    QComboBox* ComboBox1;
    QCheckBox* IncludeMajor;  // "Include Major Activities"
    QCheckBox* IncludeAction; // "Include Actions"
    QCheckBox* IncludeNotes;  // "Include notes"
    QCheckBox* IncludeTeam;   // "Include team members list"

    // What the report prints, as the check boxes say now.
    ProjectReportOptions options() const;
};

#pragma once

#include "projectreport.h"
#include "reportdialog.h"

// "Print Project report": which project, and which of its parts besides the header and the
// objectives the detailed report prints. The check boxes keep their state between openings.
class ProjectReportDialog : public ReportDialog {
    Q_OBJECT
public:
    explicit ProjectReportDialog(ProjectData* dm, QWidget* parent = nullptr);

    QCheckBox* IncludeMajor;  // "Include Major Activities"
    QCheckBox* IncludeAction; // "Include Actions"
    QCheckBox* IncludeNotes;  // "Include notes"
    QCheckBox* IncludeTeam;   // "Include team members list"

    // What the report prints, as the check boxes say now.
    ProjectReportOptions options() const;
};

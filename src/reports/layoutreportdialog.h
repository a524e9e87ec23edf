#pragma once

#include "reportdialog.h"

// "Project Layout Report": which project's layout to print.
class LayoutReportDialog : public ReportDialog {
    Q_OBJECT
public:
    explicit LayoutReportDialog(ProjectData* dm, QWidget* parent = nullptr);
};

#pragma once

#include "reportdialog.h"
#include "timelinereport.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;

// "Print Time Line report": which project, where the scale starts, days or months, whether
// dates past the page print on pages side by side, whether the actual work shows under the bars,
// and whether to show the printer set-up dialog. Created once; its choices last as long as the
// process.
class TimeLineDialog : public ReportDialog {
    Q_OBJECT
public:
    explicit TimeLineDialog(ProjectData* dm, QWidget* parent = nullptr);

    QGroupBox* startGroup;     // RadioGroup1, "Start date"
    QButtonGroup* startChoice; // its items: 0 "Project Start Date", 1 "Today"
    QGroupBox* scaleGroup;     // RadioGroup2, "Time line"
    QButtonGroup* scaleChoice; // its items: 0 "Day", 1 "Month"
    QCheckBox* TilesBox;       // dates past the page on pages side by side; off at first
    QCheckBox* ActualsBox;     // "Actual work": a thin bar of the booked days; off at first

    // What the report shows, as the radio groups say now.
    TimeLineOptions options() const;
};

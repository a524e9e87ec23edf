#pragma once

#include "reportform.h"

// The project layout report: the project's name at the top left, a trunk line down through its
// major activities, and from each major activity a line down through its actions, names only.
// Each row draws its own stretch of the lines, so they run on unbroken, across pages too.
// Never shown: LayoutReportDialog and vokctl run it.
class LayoutReport : public ReportForm {
    Q_OBJECT
public:
    explicit LayoutReport(ProjectData* dm, QObject* parent = nullptr);
};

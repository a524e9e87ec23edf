#pragma once

#include "reportform.h"

#include <functional>

// Which parts of a project the detailed report prints besides its header and objectives.
// Actions print only with the major activities.
struct ProjectReportOptions {
    bool major = false;
    bool actions = false;
    bool notes = false;
    bool team = false;
};

// The detailed project report: the project's data, objectives, team and notes, then each major
// activity with its own, and under it each action with its own, as the options choose. Never
// shown: ProjectReportDialog and vokctl run it.
class ProjectReport : public ReportForm {
    Q_OBJECT
public:
    ProjectReport(ProjectData* dm, std::function<ProjectReportOptions()> options,
                  QObject* parent = nullptr);

    // Report events.
    void reportBeforePrint();
    void ProjectTeamHdrBeforePrint(bool& PrintBand);
    void MajorTeamHdrBeforePrint(bool& PrintBand);
    void ActionTeamHdrBeforePrint(bool& PrintBand);
    void MajorDetailBndBeforePrint(bool& PrintBand);
    void ActionDetailBndBeforePrint(bool& PrintBand);

private:
    void onBand(const char* name, void (ProjectReport::*handler)(bool&));

    std::function<ProjectReportOptions()> options_;
};

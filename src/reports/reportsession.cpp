#include "reportsession.h"

#include "framework/dataset/table.h"

ReportSession::ReportSession(const QString& dataFolder) {
    dm.DataPath = dataFolder;
    dm.connectTo(dataFolder);
    dm.setPrintProjectSource([this] { return printProject; });
    for (vok::Table* t :
         {dm.projects, dm.Major, dm.Action, dm.ProjectNotes, dm.MajorNotes, dm.ActionNotes,
          dm.ProjectTeam, dm.MajorTeam, dm.ActionTeam, dm.Members, dm.Contacts})
        t->open();
}

bool ReportSession::locateProject(const QString& name) {
    return dm.projects->locate(QStringLiteral("Zel_project"), name);
}

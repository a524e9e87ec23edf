#include "mergecommand.h"

#include "data/projectdata.h"
#include "timesheets/mergereport.h"

#include <QTextStream>

void MergeCommand::connect(ProjectData& dm, const QString& folder) {
    dm.DataPath = folder;
    dm.store->setNetworkControlDir(folder);
    dm.connectTo(folder);
    for (vok::Table* t : {dm.projects, dm.Major, dm.Action, dm.Members})
        t->open();
}

void MergeCommand::printSummary(QTextStream& out, const MergeReport& report, const QString& what) {
    out << "Merged " << report.lines << (report.lines == 1 ? " line" : " lines") << what << ".\n";
    if (report.cancelled)
        out << "The merge was stopped before its end.\n";
    if (const QString notFound = report.notFoundText(); !notFound.isEmpty())
        out << notFound << "\n";
}

#include "mergecommand.h"

#include "data/tdatamodule2.h"
#include "timesheets/entrymerge.h"

#include <QTextStream>

void MergeCommand::connect(TDataModule2& dm, const QString& folder) {
    dm.DataPath = folder;
    dm.Database1->setNetworkControlDir(folder);
    dm.connectTo(folder);
    for (vok::Table* t : {dm.projects, dm.Major, dm.Action, dm.Members})
        t->open();
}

void MergeCommand::printSummary(QTextStream& out, const MergeReport& report, const QString& what) {
    out << "Merged " << report.lines << (report.lines == 1 ? " line" : " lines") << what << ".\n";
    if (report.cancelled)
        out << "The merge was stopped before its end.\n";
    if (report.notFound.isEmpty())
        return;
    out << "Names not found (their lines were merged with number 0 at that level and below):\n";
    for (const QString& name : report.notFound)
        out << "  " << name << "\n";
}

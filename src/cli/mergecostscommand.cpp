#include "mergecostscommand.h"

#include "costs/costmerge.h"
#include "data/tdatamodule2.h"
#include "mergecommand.h"

#include <QTextStream>

int MergeCostsCommand::run(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QStringList args = arguments;
    const QString folder = MergeCommand::takeDataFolder(args);
    if (folder.isEmpty() || !args.isEmpty()) {
        err << "usage: vokctl merge-costs --data DIR\n";
        return 2;
    }
    TDataModule2 dm;
    MergeCommand::connect(dm, folder);
    CostMerge merge(dm);
    MergeCommand::printSummary(out, merge.run(), QStringLiteral(" from the cost entry file"));
    return 0;
}

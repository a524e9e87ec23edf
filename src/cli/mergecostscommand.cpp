#include "mergecostscommand.h"

#include "costs/costmerge.h"
#include "data/projectdata.h"
#include "mergecommand.h"

#include <QCommandLineParser>

void MergeCostsCommand::define(QCommandLineParser& parser) const {
    parser.addOption(dataOption());
}

int MergeCostsCommand::run(const QCommandLineParser& parser) const {
    const QString folder = required(parser, QStringLiteral("data"));
    if (!parser.positionalArguments().isEmpty())
        throw UsageError(
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
    ProjectData dm;
    MergeCommand::connect(dm, folder);
    CostMerge merge(dm);
    MergeCommand::printSummary(out(), merge.run(), QStringLiteral(" from the cost entry file"));
    return 0;
}

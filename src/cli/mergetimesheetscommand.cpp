#include "mergetimesheetscommand.h"

#include "data/tdatamodule2.h"
#include "mergecommand.h"
#include "timesheets/memberlist.h"
#include "timesheets/timesheetmerge.h"

#include <QCommandLineParser>

void MergeTimeSheetsCommand::define(QCommandLineParser& parser) const {
    parser.addOption(dataOption());
    parser.addOption({QStringLiteral("member"),
                      QStringLiteral("A member whose file is merged; repeat it, or name further "
                                     "members after it."),
                      QStringLiteral("NAME")});
    parser.addOption({QStringLiteral("all"), QStringLiteral("Merge the files of every member.")});
    parser.addPositionalArgument(QStringLiteral("[NAME...]"),
                                 QStringLiteral("Further members, after --member."));
}

int MergeTimeSheetsCommand::run(const QCommandLineParser& parser) const {
    const QString folder = required(parser, QStringLiteral("data"));
    const bool all = parser.isSet(QStringLiteral("all"));
    QStringList members = parser.values(QStringLiteral("member"));
    if (all == !members.isEmpty())
        throw UsageError(QStringLiteral("name the members with --member, or give --all"));
    if (all && !parser.positionalArguments().isEmpty())
        throw UsageError(
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
    members += parser.positionalArguments();

    TDataModule2 dm;
    MergeCommand::connect(dm, folder);
    if (all)
        members = MemberList::names(*dm.Members);

    TimeSheetMerge merge(dm);
    merge.afterMember = [&](const QString& member, const MergeReport& report) {
        if (!report.skipped.isEmpty())
            out() << "Skipped " << report.skipped.join(QStringLiteral("; ")) << "\n";
        else
            out() << member << ": " << report.lines << (report.lines == 1 ? " line" : " lines")
                  << " merged\n";
        out().flush();
    };
    const MergeReport report = merge.run(members);
    MergeCommand::printSummary(
        out(), report,
        QStringLiteral(" from %1 member %2")
            .arg(report.sources)
            .arg(report.sources == 1 ? QStringLiteral("file") : QStringLiteral("files")));
    return 0;
}

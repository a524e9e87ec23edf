#include "mergetimesheetscommand.h"

#include "data/tdatamodule2.h"
#include "mergecommand.h"
#include "timesheets/memberlist.h"
#include "timesheets/timesheetmerge.h"

#include <QTextStream>

namespace {

const char* usage = "usage: vokctl merge-timesheets --data DIR (--member NAME ... | --all)\n";

} // namespace

int MergeTimeSheetsCommand::run(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QStringList args = arguments;
    const QString folder = MergeCommand::takeDataFolder(args);
    bool all = false;
    bool memberOption = false;
    QStringList members;
    for (const QString& arg : std::as_const(args)) {
        if (arg == QLatin1String("--all")) {
            all = true;
        } else if (arg == QLatin1String("--member")) {
            memberOption = true;
        } else if (memberOption && !arg.startsWith(QLatin1String("--"))) {
            members << arg;
        } else {
            err << "vokctl merge-timesheets: unexpected argument '" << arg << "'\n" << usage;
            return 2;
        }
    }
    if (folder.isEmpty() || all == memberOption || (memberOption && members.isEmpty())) {
        err << usage;
        return 2;
    }

    TDataModule2 dm;
    MergeCommand::connect(dm, folder);
    if (all)
        members = MemberList::names(*dm.Members);

    TimeSheetMerge merge(dm);
    merge.afterMember = [&](const QString& member, const MergeReport& report) {
        if (!report.skipped.isEmpty())
            out << "Skipped " << report.skipped.join(QStringLiteral("; ")) << "\n";
        else
            out << member << ": " << report.lines << (report.lines == 1 ? " line" : " lines")
                << " merged\n";
        out.flush();
    };
    const MergeReport report = merge.run(members);
    MergeCommand::printSummary(
        out, report,
        QStringLiteral(" from %1 member %2")
            .arg(report.sources)
            .arg(report.sources == 1 ? QStringLiteral("file") : QStringLiteral("files")));
    return 0;
}

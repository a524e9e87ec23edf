#include "mergetimesheetscommand.h"

#include "data/projectdata.h"
#include "framework/io/showntext.h"
#include "mergecommand.h"
#include "timesheets/memberfile.h"
#include "timesheets/memberlist.h"
#include "timesheets/timesheetmerge.h"

#include <QCommandLineParser>
#include <stdexcept>

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

    ProjectData dm;
    MergeCommand::connect(dm, folder);
    const QStringList listed = MemberList::names(*dm.Members);
    if (all) {
        members = listed;
    } else {
        // Names that are not members, or cannot name a file, are refused before anything is
        // merged: a mistyped name must not leave a half-done merge behind.
        QStringList refused;
        for (QString& member : members) {
            const QString found = MemberList::find(listed, member);
            if (found.isNull())
                refused << QStringLiteral("\"%1\" is not a team member.")
                               .arg(vok::ShownText::escaped(member));
            else if (const QString why = MemberFile::refusal(found); !why.isEmpty())
                refused << why;
            member = found;
        }
        if (!refused.isEmpty())
            throw std::runtime_error(
                QString(QStringLiteral("nothing was merged. ") + refused.join(QLatin1Char(' ')))
                    .toStdString());
    }

    TimeSheetMerge merge(dm);
    merge.afterMember = [&](const QString& name, const MergeReport& report) {
        // One line per member, whatever the name holds.
        const QString member = vok::ShownText::escaped(name);
        if (!report.withoutFile.isEmpty())
            out() << member << ": no time sheet file\n";
        else if (!report.skipped.isEmpty())
            out() << member << ": not merged\n";
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
    if (report.skipped.isEmpty())
        return 0;
    out().flush();
    err() << report.skippedText(QStringLiteral("time sheets")) << "\n";
    return 1;
}

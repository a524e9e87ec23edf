#include "reportkinds.h"

#include "costs/costreport.h"
#include "costs/costreportdialog.h"
#include "reports/budgetreport.h"
#include "reports/budgetreportdialog.h"
#include "reports/contactlistreport.h"
#include "reports/layoutreport.h"
#include "reports/layoutreportdialog.h"
#include "reports/projectreport.h"
#include "reports/projectreportdialog.h"
#include "reports/timelinedialog.h"
#include "reports/timelinereport.h"
#include "timesheets/timesheetreport.h"
#include "timesheets/timesheetreportdialog.h"

#include <algorithm>
#include <type_traits>

namespace {

const ReportOption start{"start", "where the scale starts, project or today.", "project|today"};
const ReportOption scale{"scale", "the scale, day or month.", "day|month"};
const ReportOption tiles{"tiles", "dates past the page on further pages side by side."};
const ReportOption actuals{
    "actuals", "a thin bar under each bar, from the actual start to the actual finish."};
const ReportOption from{"from", "rows from this date on.", "YYYY-MM-DD"};
const ReportOption to{"to", "rows up to this date.", "YYYY-MM-DD"};
const ReportOption member{"member", "one member's rows only.", "NAME"};
const ReportOption csv{"csv", "also write the rows printed as CSV.", "FILE"};
const ReportOption major{"major", "include the major activities."};
const ReportOption actions{"actions", "include the actions."};
const ReportOption notes{"notes", "include the notes."};
const ReportOption team{"team", "include the team members."};

QString nameOf(const ReportOption& option) {
    return QLatin1String(option.name);
}

// A choice option's values are the ones its value name lists.
int choice(const ReportArguments& arguments, const ReportOption& option) {
    return arguments.choice(nameOf(option),
                            QString::fromLatin1(option.valueName).split(QLatin1Char('|')));
}

TimeLineOptions timeLineOptions(const ReportArguments& arguments) {
    return {static_cast<TimeLineOptions::Start>(choice(arguments, start)),
            static_cast<TimeLineOptions::Scale>(choice(arguments, scale)),
            arguments.isSet(nameOf(tiles)), arguments.isSet(nameOf(actuals))};
}

TimeSheetOptions timeSheetOptions(const ReportArguments& arguments) {
    TimeSheetOptions o{arguments.date(nameOf(from)), arguments.date(nameOf(to)), std::nullopt};
    if (arguments.isSet(nameOf(member)))
        o.member = arguments.text(nameOf(member));
    return o;
}

CostOptions costOptions(const ReportArguments& arguments) {
    return {arguments.date(nameOf(from)), arguments.date(nameOf(to))};
}

ProjectReportOptions projectOptions(const ReportArguments& arguments) {
    return {arguments.isSet(nameOf(major)), arguments.isSet(nameOf(actions)),
            arguments.isSet(nameOf(notes)), arguments.isSet(nameOf(team))};
}

template <class Dialog> std::unique_ptr<ReportDialog> newDialog(ProjectData* dm) {
    return std::make_unique<Dialog>(dm);
}

// A report that reads an options struct: from its dialog in Vok, from the command line in vokctl.
template <class Dialog, class Report, class Options>
ReportKind withOptions(const char* name, QList<ReportOption> options, const char* command,
                       Options (*read)(const ReportArguments&)) {
    return {
        QLatin1String(name),
        std::move(options),
        command,
        newDialog<Dialog>,
        [](ProjectData* dm, ReportDialog* dialog) -> std::unique_ptr<ReportForm> {
            const auto* d = static_cast<const Dialog*>(dialog);
            return std::make_unique<Report>(dm, [d] { return d->options(); });
        },
        [read](ProjectData* dm, const ReportArguments& arguments) -> std::unique_ptr<ReportForm> {
            return std::make_unique<Report>(dm, [o = read(arguments)] { return o; });
        }};
}

// A report with no options of its own; the dialog, if any, only chooses the project. The
// options given are what every run takes (its rows as CSV).
template <class Report, class Dialog = void>
ReportKind withoutOptions(const char* name, const char* command, QList<ReportOption> options = {}) {
    ReportKind kind{QLatin1String(name),
                    std::move(options),
                    command,
                    {},
                    [](ProjectData* dm, ReportDialog*) -> std::unique_ptr<ReportForm> {
                        return std::make_unique<Report>(dm);
                    },
                    [](ProjectData* dm, const ReportArguments&) -> std::unique_ptr<ReportForm> {
                        return std::make_unique<Report>(dm);
                    }};
    if constexpr (!std::is_void_v<Dialog>)
        kind.makeDialog = newDialog<Dialog>;
    return kind;
}

} // namespace

bool ReportKind::takes(const QString& option) const {
    return std::any_of(options.begin(), options.end(),
                       [&](const ReportOption& o) { return nameOf(o) == option; });
}

const QList<ReportKind>& ReportKinds::all() {
    static const QList<ReportKind> kinds{
        withOptions<TimeLineDialog, TimeLineReport>("timeline", {start, scale, tiles, actuals},
                                                    "PrintPERT1", timeLineOptions),
        withOptions<TimeSheetReportDialog, TimeSheetReport>(
            "timesheets", {from, to, member, csv}, "PrintTimesheetreport1", timeSheetOptions),
        withOptions<CostReportDialog, CostReport>("costs", {from, to, csv}, "PrintCostsreport1",
                                                  costOptions),
        withOptions<ProjectReportDialog, ProjectReport>("project", {major, actions, notes, team},
                                                        "Format1", projectOptions),
        withoutOptions<LayoutReport, LayoutReportDialog>("layout", "Print1"),
        withoutOptions<ContactListReport>("contacts", "SpeedButton9"),
        withoutOptions<BudgetReport, BudgetReportDialog>("budget", "PrintBudget1", {csv}),
    };
    return kinds;
}

const ReportKind* ReportKinds::find(const QString& name) {
    for (const ReportKind& kind : all()) {
        if (kind.name == name)
            return &kind;
    }
    return nullptr;
}

QList<ReportOption> ReportKinds::options() {
    QList<ReportOption> options;
    QStringList names;
    for (const ReportKind& kind : all()) {
        for (const ReportOption& option : kind.options) {
            if (!names.contains(nameOf(option))) {
                names << nameOf(option);
                options << option;
            }
        }
    }
    return options;
}

QString ReportKinds::takers(const QString& option) {
    QStringList names;
    for (const ReportKind& kind : all()) {
        if (kind.takes(option))
            names << kind.name;
    }
    return names.join(QStringLiteral(", "));
}

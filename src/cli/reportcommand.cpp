#include "reportcommand.h"

#include "costs/costreport.h"
#include "dateoption.h"
#include "framework/report/reportdocument.h"
#include "framework/report/reportlayoutjson.h"
#include "framework/report/reportpdf.h"
#include "framework/ui/clock.h"
#include "lang/captionapplier.h"
#include "lang/captiontexts.h"
#include "reports/contactlistreport.h"
#include "reports/csvwriter.h"
#include "reports/layoutreport.h"
#include "reports/projectreport.h"
#include "reports/reportsession.h"
#include "reports/timelinereport.h"
#include "timesheets/timesheetreport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <memory>

namespace {

// A report kind and the options of its own it takes.
struct Kind {
    const char* name;
    QStringList options;
};

const Kind kinds[] = {
    {"timeline", {"start", "scale", "tiles"}},
    {"timesheets", {"from", "to", "member", "csv"}},
    {"costs", {"from", "to", "csv"}},
    {"project", {"major", "actions", "notes", "team"}},
    {"layout", {}},
    {"contacts", {}},
};

// Options that only some kinds take.
const QStringList kindOptions{"start", "scale", "tiles",   "from",  "to",  "member",
                              "csv",   "major", "actions", "notes", "team"};

QString kindList() {
    QStringList names;
    for (const Kind& k : kinds)
        names << QLatin1String(k.name);
    return names.join(QStringLiteral(" | "));
}

const Kind* findKind(const QString& name) {
    for (const Kind& k : kinds) {
        if (name == QLatin1String(k.name))
            return &k;
    }
    return nullptr;
}

// An ISO date option; an omitted one sets no bound, as a blank date field does.
std::optional<QDate> dateOption(const QCommandLineParser& options, const QString& name) {
    const QString text = Command::single(options, name);
    if (text.isEmpty())
        return std::nullopt;
    const QDate date = DateOption::date(text);
    if (!date.isValid())
        throw UsageError(QStringLiteral("--%1 takes a date as YYYY-MM-DD").arg(name));
    return date;
}

// The value of a choice option among its names; an omitted option takes the first.
int choice(const QCommandLineParser& options, const QString& name, const QStringList& names) {
    const QString value = Command::single(options, name);
    const int index = value.isEmpty() ? 0 : static_cast<int>(names.indexOf(value));
    if (index < 0)
        throw UsageError(
            QStringLiteral("--%1 takes %2").arg(name, names.join(QStringLiteral(" or "))));
    return index;
}

// Makes the report of a kind on the session, its options read from the command line.
std::unique_ptr<ReportForm> makeReport(const QString& kind, const QCommandLineParser& options,
                                       ReportSession& session) {
    ProjectData* dm = &session.dm;
    if (kind == QLatin1String("timeline")) {
        TimeLineOptions o;
        o.start = static_cast<TimeLineOptions::Start>(
            choice(options, QStringLiteral("start"), {"project", "today"}));
        o.scale = static_cast<TimeLineOptions::Scale>(
            choice(options, QStringLiteral("scale"), {"day", "month"}));
        o.tiles = options.isSet(QStringLiteral("tiles"));
        return std::make_unique<TimeLineReport>(dm, [o] { return o; });
    }
    if (kind == QLatin1String("timesheets")) {
        TimeSheetOptions o{dateOption(options, QStringLiteral("from")),
                           dateOption(options, QStringLiteral("to")), std::nullopt};
        if (options.isSet(QStringLiteral("member")))
            o.member = Command::single(options, QStringLiteral("member"));
        return std::make_unique<TimeSheetReport>(dm, [o] { return o; });
    }
    if (kind == QLatin1String("costs")) {
        const CostOptions o{dateOption(options, QStringLiteral("from")),
                            dateOption(options, QStringLiteral("to"))};
        return std::make_unique<CostReport>(dm, [o] { return o; });
    }
    if (kind == QLatin1String("project")) {
        const ProjectReportOptions o{
            options.isSet(QStringLiteral("major")), options.isSet(QStringLiteral("actions")),
            options.isSet(QStringLiteral("notes")), options.isSet(QStringLiteral("team"))};
        return std::make_unique<ProjectReport>(dm, [o] { return o; });
    }
    if (kind == QLatin1String("layout"))
        return std::make_unique<LayoutReport>(dm);
    return std::make_unique<ContactListReport>(dm);
}

// A member the data has never heard of is a typing error, as an unknown project is, not a report
// of no rows.
void refuseUnknownMember(ReportSession& session, const QString& member) {
    vok::Store& store = *session.dm.store;
    const auto known = [&](const char* sql) {
        return store.exec(QLatin1String(sql), {member}).next();
    };
    if (!known("SELECT 1 FROM members WHERE Member_name = ?") &&
        !known("SELECT 1 FROM ProjectTS WHERE ProjectTS_member = ?"))
        throw std::runtime_error(
            QStringLiteral("\"%1\" is not a team member.").arg(member).toStdString());
}

QString pages(const vok::ReportDocument& document) {
    const qsizetype n = document.pages.size();
    return QStringLiteral("%1 %2").arg(n).arg(n == 1 ? QStringLiteral("page")
                                                     : QStringLiteral("pages"));
}

} // namespace

void ReportCommand::define(QCommandLineParser& parser) const {
    parser.addPositionalArgument(QStringLiteral("KIND"), kindList());
    parser.addOption(dataOption());
    const auto option = [&](const char* name, const char* description, const char* value) {
        parser.addOption({QLatin1String(name), QLatin1String(description), QLatin1String(value)});
    };
    const auto flag = [&](const char* name, const char* description) {
        parser.addOption({QLatin1String(name), QLatin1String(description)});
    };
    option("project", "The project, by name.", "NAME");
    option("pdf", "The PDF file to write.", "FILE");
    option("layout-json", "Also write the laid-out pages as JSON.", "FILE");
    option("today", "Print as of this date.", "YYYY-MM-DD[THH:MM]");
    option("language", "Print in this language: 0 English, 1 French, 2 Spanish.", "N");
    option("start", "timeline: where the scale starts, project or today.", "project|today");
    option("scale", "timeline: the scale, day or month.", "day|month");
    flag("tiles", "timeline: dates past the page on further pages side by side.");
    option("from", "timesheets, costs: rows from this date on.", "YYYY-MM-DD");
    option("to", "timesheets, costs: rows up to this date.", "YYYY-MM-DD");
    option("member", "timesheets: one member's rows only.", "NAME");
    option("csv", "timesheets, costs: also write the rows printed as CSV.", "FILE");
    flag("major", "project: include the major activities.");
    flag("actions", "project: include the actions.");
    flag("notes", "project: include the notes.");
    flag("team", "project: include the team members.");
}

int ReportCommand::run(const QCommandLineParser& parser) const {
    const QStringList args = parser.positionalArguments();
    if (args.size() != 1)
        throw UsageError(QStringLiteral("which report? %1").arg(kindList()));
    const QString& kind = args.first();
    const Kind* k = findKind(kind);
    if (!k)
        throw UsageError(QStringLiteral("unknown report '%1'").arg(kind));
    for (const QString& o : kindOptions) {
        if (parser.isSet(o) && !k->options.contains(o))
            throw UsageError(QStringLiteral("the %1 report takes no --%2").arg(kind, o));
    }
    const QString folder = required(parser, QStringLiteral("data"));
    const QString project = required(parser, QStringLiteral("project"));
    const QString pdf = single(parser, QStringLiteral("pdf"));
    const QString json = single(parser, QStringLiteral("layout-json"));
    const QString csv = single(parser, QStringLiteral("csv"));
    if (pdf.isEmpty() && json.isEmpty() && csv.isEmpty())
        throw UsageError(QStringLiteral("--pdf is required (or --layout-json or --csv)"));
    if (parser.isSet(QStringLiteral("today"))) {
        const QDateTime today = DateOption::dateTime(single(parser, QStringLiteral("today")));
        if (!today.isValid())
            throw UsageError(QStringLiteral("--today takes YYYY-MM-DD or YYYY-MM-DDTHH:MM"));
        vok::Clock::setFixed(today);
    }
    // Any other number is English, as in the settings.
    int language = 0;
    if (parser.isSet(QStringLiteral("language"))) {
        bool ok = false;
        language = single(parser, QStringLiteral("language")).toInt(&ok);
        if (!ok)
            throw UsageError(QStringLiteral("--language takes 0 English, 1 French or 2 Spanish"));
    }
    if (!vok::Store::holdsData(folder)) {
        throw std::runtime_error(
            QStringLiteral("%1 is not a Vok data folder").arg(folder).toStdString());
    }

    for (const QString& output : {pdf, json, csv}) {
        if (!output.isEmpty())
            refuseDataTarget(output, folder);
    }

    ReportSession session(folder);
    if (parser.isSet(QStringLiteral("member")))
        refuseUnknownMember(session, single(parser, QStringLiteral("member")));
    const std::unique_ptr<ReportForm> report = makeReport(kind, parser, session);
    CaptionApplier({report.get()}).apply(CaptionSet::language(language));
    // The words the report makes as it runs, in the same language.
    CaptionTexts texts(CaptionSet::language(language));
    QCoreApplication::installTranslator(&texts);
    // As if the project were chosen in a dialog, or selected in the tree for the contacts.
    if (!session.locateProject(project)) {
        throw std::runtime_error(
            QStringLiteral("no project is named '%1'").arg(project).toStdString());
    }
    session.printProject = project;
    const vok::ReportDocument document = report->run();

    QTextStream& out = Command::out();
    if (!pdf.isEmpty()) {
        vok::ReportPdf::write(document, pdf);
        out << "Wrote " << pages(document) << " to " << pdf << "\n";
    }
    if (!json.isEmpty()) {
        vok::ReportLayoutJson::write(document, json);
        out << "Wrote the layout of " << pages(document) << " to " << json << "\n";
    }
    if (!csv.isEmpty()) {
        const auto* rows = qobject_cast<const PeriodReport*>(report.get());
        CsvWriter::write(csv, rows->printedRows());
        const qsizetype n = rows->printedRows().size() - 1;
        out << "Wrote " << n << (n == 1 ? " row" : " rows") << " to " << csv << "\n";
    }
    return 0;
}

#include "reportcommand.h"

#include "dateoption.h"
#include "framework/io/showntext.h"
#include "framework/report/reportdocument.h"
#include "framework/report/reportlayoutjson.h"
#include "framework/report/reportpdf.h"
#include "framework/ui/clock.h"
#include "lang/captionapplier.h"
#include "lang/captiontexts.h"
#include "reports/csvwriter.h"
#include "reports/reportform.h"
#include "reports/reportkinds.h"
#include "reports/reportsession.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <memory>

namespace {

QString kindList() {
    QStringList names;
    for (const ReportKind& k : ReportKinds::all())
        names << k.name;
    return names.join(QStringLiteral(" | "));
}

// A report's own options as given on the command line; a value they cannot take is a usage error.
class CommandLineArguments : public ReportArguments {
public:
    explicit CommandLineArguments(const QCommandLineParser& parser) : parser_(parser) {}

    bool isSet(const QString& option) const override { return parser_.isSet(option); }
    QString text(const QString& option) const override { return Command::single(parser_, option); }

    std::optional<QDate> date(const QString& option) const override {
        const QString text = Command::single(parser_, option);
        if (text.isEmpty())
            return std::nullopt;
        const QDate date = DateOption::date(text);
        if (!date.isValid())
            throw UsageError(QStringLiteral("--%1 takes a date as YYYY-MM-DD").arg(option));
        return date;
    }

    int choice(const QString& option, const QStringList& names) const override {
        const QString value = Command::single(parser_, option);
        const int index = value.isEmpty() ? 0 : static_cast<int>(names.indexOf(value));
        if (index < 0)
            throw UsageError(
                QStringLiteral("--%1 takes %2").arg(option, names.join(QStringLiteral(" or "))));
        return index;
    }

private:
    const QCommandLineParser& parser_;
};

// A member the data has never heard of is a typing error, as an unknown project is, not a report
// of no rows.
void refuseUnknownMember(ReportSession& session, const QString& member) {
    vok::Store& store = *session.dm.store;
    const auto known = [&](const char* sql) {
        return store.exec(QLatin1String(sql), {member}).next();
    };
    if (!known("SELECT 1 FROM members WHERE Member_name = ?") &&
        !known("SELECT 1 FROM ProjectTS WHERE ProjectTS_member = ?"))
        throw std::runtime_error(QStringLiteral("\"%1\" is not a team member.")
                                     .arg(vok::ShownText::escaped(member))
                                     .toStdString());
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
    option("project", "The project, by name.", "NAME");
    option("pdf", "The PDF file to write.", "FILE");
    option("layout-json", "Also write the laid-out pages as JSON.", "FILE");
    option("today", "Print as of this date.", "YYYY-MM-DD[THH:MM]");
    option("language", "Print in this language: 0 English, 1 French, 2 Spanish.", "N");
    for (const ReportOption& o : ReportKinds::options()) {
        const QString description = ReportKinds::takers(QLatin1String(o.name)) +
                                    QStringLiteral(": ") + QLatin1String(o.description);
        if (o.valueName)
            parser.addOption({QLatin1String(o.name), description, QLatin1String(o.valueName)});
        else
            parser.addOption({QLatin1String(o.name), description});
    }
}

int ReportCommand::run(const QCommandLineParser& parser) const {
    const QStringList args = parser.positionalArguments();
    if (args.size() != 1)
        throw UsageError(QStringLiteral("which report? %1").arg(kindList()));
    const QString& kind = args.first();
    const ReportKind* k = ReportKinds::find(kind);
    if (!k)
        throw UsageError(QStringLiteral("unknown report '%1'").arg(kind));
    for (const ReportOption& o : ReportKinds::options()) {
        const QString name = QLatin1String(o.name);
        if (parser.isSet(name) && !k->takes(name))
            throw UsageError(QStringLiteral("the %1 report takes no --%2").arg(kind, name));
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
    const std::unique_ptr<ReportForm> report =
        k->makeCommandLineReport(&session.dm, CommandLineArguments(parser));
    CaptionApplier({report.get()}).apply(CaptionSet::language(language));
    // The words the report makes as it runs, in the same language.
    CaptionTexts texts(CaptionSet::language(language));
    QCoreApplication::installTranslator(&texts);
    // As if the project were chosen in a dialog, or selected in the tree for the contacts.
    if (!session.locateProject(project)) {
        throw std::runtime_error(QStringLiteral("no project is named '%1'")
                                     .arg(vok::ShownText::escaped(project))
                                     .toStdString());
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
        CsvWriter::write(csv, report->printedRows());
        const qsizetype n = report->printedRows().size() - 1;
        out << "Wrote " << n << (n == 1 ? " row" : " rows") << " to " << csv << "\n";
    }
    return 0;
}

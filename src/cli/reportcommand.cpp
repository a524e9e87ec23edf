#include "reportcommand.h"

#include "dateoption.h"
#include "framework/dataset/table.h"
#include "framework/report/reportdocument.h"
#include "framework/report/reportlayoutjson.h"
#include "framework/report/reportpdf.h"
#include "framework/ui/clock.h"
#include "reports/timelinesession.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {

const QStringList kinds{QStringLiteral("timeline"), QStringLiteral("project"),
                        QStringLiteral("layout"),   QStringLiteral("timesheets"),
                        QStringLiteral("costs"),    QStringLiteral("contacts")};

// Sets a radio group of the dialog from an option's value.
// An omitted option takes the first choice.
bool choose(QButtonGroup* group, const QString& value, const QStringList& names) {
    const int index = value.isEmpty() ? 0 : static_cast<int>(names.indexOf(value));
    if (index < 0)
        return false;
    group->button(index)->setChecked(true);
    return true;
}

int timeline(const QCommandLineParser& options) {
    const QString folder = Command::required(options, QStringLiteral("data"));
    if (!QFileInfo::exists(QDir(folder).filePath(QStringLiteral("vok.sqlite")))) {
        throw std::runtime_error(
            QStringLiteral("%1 is not a Vok data folder").arg(folder).toStdString());
    }
    if (options.isSet(QStringLiteral("today"))) {
        const QDateTime today = DateOption::dateTime(Command::single(options, QStringLiteral("today")));
        if (!today.isValid())
            throw UsageError(QStringLiteral("--today takes YYYY-MM-DD or YYYY-MM-DDTHH:MM"));
        vok::Clock::setFixed(today);
    }

    TimeLineSession session(folder);
    TForm4& form4 = session.form4;

    if (!choose(form4.RadioGroup1Items, Command::single(options, QStringLiteral("start")),
                {QStringLiteral("project"), QStringLiteral("today")}))
        throw UsageError(QStringLiteral("--start takes project or today"));
    if (!choose(form4.RadioGroup2Items, Command::single(options, QStringLiteral("scale")),
                {QStringLiteral("day"), QStringLiteral("month")}))
        throw UsageError(QStringLiteral("--scale takes day or month"));

    const QString project = Command::required(options, QStringLiteral("project"));
    if (!session.dm.projects->locate(QStringLiteral("Zel_project"), project)) {
        throw std::runtime_error(
            QStringLiteral("no project is named '%1'").arg(project).toStdString());
    }
    form4.ComboBox1->setEditText(project);
    const vok::ReportDocument document = form4.runReport();

    const QString pdf = Command::required(options, QStringLiteral("pdf"));
    vok::ReportPdf::write(document, pdf);
    QTextStream& out = Command::out();
    out << "Wrote " << document.pages.size() << (document.pages.size() == 1 ? " page" : " pages")
        << " to " << pdf << "\n";
    if (options.isSet(QStringLiteral("layout-json"))) {
        const QString json = Command::single(options, QStringLiteral("layout-json"));
        vok::ReportLayoutJson::write(document, json);
        out << "Wrote the layout to " << json << "\n";
    }
    return 0;
}

} // namespace

void ReportCommand::define(QCommandLineParser& parser) const {
    parser.addPositionalArgument(QStringLiteral("KIND"), kinds.join(QStringLiteral(" | ")));
    parser.addOption(dataOption());
    const auto option = [&](const char* name, const char* description, const char* value) {
        parser.addOption({QLatin1String(name), QLatin1String(description), QLatin1String(value)});
    };
    option("project", "The project, by name.", "NAME");
    option("pdf", "The PDF file to write.", "FILE");
    option("layout-json", "Also write the laid-out pages as JSON.", "FILE");
    option("today", "Print as of this date (time line).", "YYYY-MM-DD[THH:MM]");
    option("start", "Where the time line starts: project or today.", "project|today");
    option("scale", "The time line's scale: day or month.", "day|month");
}

int ReportCommand::run(const QCommandLineParser& parser) const {
    const QStringList args = parser.positionalArguments();
    if (args.size() != 1)
        throw UsageError(QStringLiteral("which report?"));
    const QString& kind = args.first();
    if (!kinds.contains(kind))
        throw UsageError(QStringLiteral("unknown report '%1'").arg(kind));
    for (const char* option : {"data", "project", "pdf"})
        required(parser, QLatin1String(option));
    if (kind != QLatin1String("timeline")) {
        err() << "vokctl report: the " << kind << " report is not available yet\n";
        return 3;
    }
    return timeline(parser);
}

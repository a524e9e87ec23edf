#include "reportcommand.h"

#include "framework/dataset/table.h"
#include "framework/report/reportdocument.h"
#include "framework/report/reportlayoutjson.h"
#include "framework/report/reportpdf.h"
#include "framework/ui/clock.h"
#include "reports/timelinesession.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QTextStream>

namespace {

QTextStream& errors() {
    static QTextStream s(stderr);
    return s;
}

const char* reportUsage = "usage: vokctl report KIND --data DIR --project NAME [options] --pdf "
                          "FILE [--layout-json FILE]\n"
                          "  KIND: timeline | project | layout | timesheets | costs | contacts\n"
                          "  timeline options: [--start project|today] [--scale day|month] "
                          "[--today YYYY-MM-DD[THH:MM]]\n";

int usageError(const QString& message) {
    errors() << "vokctl report: " << message << "\n" << reportUsage;
    errors().flush();
    return 2;
}

QDateTime parseToday(const QString& text) {
    const QDateTime withTime = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd'T'HH:mm"));
    if (withTime.isValid())
        return withTime;
    const QDate date = QDate::fromString(text, Qt::ISODate);
    return date.isValid() ? QDateTime(date, QTime(0, 0)) : QDateTime();
}

// Sets a radio group of the dialog from an option's value.
bool choose(QButtonGroup* group, const QString& value, const QStringList& names) {
    const int index = static_cast<int>(names.indexOf(value));
    if (index < 0)
        return false;
    group->button(index)->setChecked(true);
    return true;
}

int timeline(const QHash<QString, QString>& options) {
    const QString folder = options.value(QStringLiteral("--data"));
    if (!QFileInfo::exists(QDir(folder).filePath(QStringLiteral("vok.sqlite")))) {
        errors() << "vokctl report: " << folder << " is not a Vok data folder\n";
        return 1;
    }
    if (options.contains(QStringLiteral("--today"))) {
        const QDateTime today = parseToday(options.value(QStringLiteral("--today")));
        if (!today.isValid())
            return usageError(QStringLiteral("--today takes YYYY-MM-DD or YYYY-MM-DDTHH:MM"));
        vok::Clock::setFixed(today);
    }

    TimeLineSession session(folder);
    TForm4& form4 = session.form4;

    if (!choose(form4.RadioGroup1Items,
                options.value(QStringLiteral("--start"), QStringLiteral("project")),
                {QStringLiteral("project"), QStringLiteral("today")}))
        return usageError(QStringLiteral("--start takes project or today"));
    if (!choose(form4.RadioGroup2Items,
                options.value(QStringLiteral("--scale"), QStringLiteral("day")),
                {QStringLiteral("day"), QStringLiteral("month")}))
        return usageError(QStringLiteral("--scale takes day or month"));

    const QString project = options.value(QStringLiteral("--project"));
    if (!session.dm.projects->locate(QStringLiteral("Zel_project"), project)) {
        errors() << "vokctl report: no project is named '" << project << "'\n";
        return 1;
    }
    form4.ComboBox1->setEditText(project);
    const vok::ReportDocument document = form4.runReport();

    const QString pdf = options.value(QStringLiteral("--pdf"));
    vok::ReportPdf::write(document, pdf);
    QTextStream out(stdout);
    out << "Wrote " << document.pages.size() << (document.pages.size() == 1 ? " page" : " pages")
        << " to " << pdf << "\n";
    if (options.contains(QStringLiteral("--layout-json"))) {
        const QString json = options.value(QStringLiteral("--layout-json"));
        vok::ReportLayoutJson::write(document, json);
        out << "Wrote the layout to " << json << "\n";
    }
    return 0;
}

} // namespace

int ReportCommand::run(const QStringList& args) {
    const QStringList kinds{QStringLiteral("timeline"), QStringLiteral("project"),
                            QStringLiteral("layout"),   QStringLiteral("timesheets"),
                            QStringLiteral("costs"),    QStringLiteral("contacts")};
    if (args.isEmpty())
        return usageError(QStringLiteral("which report?"));
    const QString kind = args.first();
    if (!kinds.contains(kind))
        return usageError(QStringLiteral("unknown report '%1'").arg(kind));

    const QStringList known{QStringLiteral("--data"),       QStringLiteral("--project"),
                            QStringLiteral("--start"),      QStringLiteral("--scale"),
                            QStringLiteral("--today"),      QStringLiteral("--pdf"),
                            QStringLiteral("--layout-json")};
    QHash<QString, QString> options;
    for (qsizetype i = 1; i < args.size(); i += 2) {
        if (!known.contains(args[i]))
            return usageError(QStringLiteral("unknown option '%1'").arg(args[i]));
        if (i + 1 >= args.size())
            return usageError(QStringLiteral("%1 needs a value").arg(args[i]));
        options.insert(args[i], args[i + 1]);
    }
    for (const char* required : {"--data", "--project", "--pdf"}) {
        if (options.value(QLatin1String(required)).isEmpty())
            return usageError(QStringLiteral("%1 is required").arg(QLatin1String(required)));
    }
    if (kind != QLatin1String("timeline")) {
        errors() << "vokctl report: the " << kind << " report is not available yet\n";
        return 3;
    }
    return timeline(options);
}

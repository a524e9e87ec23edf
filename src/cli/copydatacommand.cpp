#include "copydatacommand.h"

#include "data/datafoldercopy.h"
#include "framework/io/shownlocation.h"

#include <QCommandLineParser>

void CopyDataCommand::define(QCommandLineParser& parser) const {
    parser.addOption(QCommandLineOption(
        QStringLiteral("from"), QStringLiteral("The data folder or PostgreSQL URI to copy."),
        QStringLiteral("SOURCE")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("to"),
        QStringLiteral("An empty data folder or PostgreSQL database (URI) to copy into."),
        QStringLiteral("TARGET")));
}

int CopyDataCommand::run(const QCommandLineParser& parser) const {
    const QString from = required(parser, QStringLiteral("from"));
    const QString to = required(parser, QStringLiteral("to"));
    const DataFolderCopy::Report report = DataFolderCopy::run(from, to);
    out() << "Copied " << report.tables << " tables (" << report.rows << " rows) and "
          << report.sheets.size() << (report.sheets.size() == 1 ? " time sheet" : " time sheets")
          << " (" << report.sheetLines << " lines) to " << vok::ShownLocation::of(to) << "\n";
    return 0;
}

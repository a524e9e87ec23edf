#include "exportprojectcommand.h"

#include "data/projectdata.h"
#include "exchange/projectexchange.h"
#include "projectsession.h"

#include <QCommandLineParser>

void ExportProjectCommand::define(QCommandLineParser& parser) const {
    parser.addOption(dataOption());
    parser.addOption({QStringLiteral("project"),
                      QStringLiteral("The project to export, by name (the first of that name)."),
                      QStringLiteral("NAME")});
    parser.addOption({QStringLiteral("xml"),
                      QStringLiteral("Write the project as MS Project XML (MSPDI) to FILE."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("ics"),
                      QStringLiteral("Write the project's dated actions as iCalendar to-dos to "
                                     "FILE."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("member"),
                      QStringLiteral("With --ics: only the actions whose team holds NAME."),
                      QStringLiteral("NAME")});
}

int ExportProjectCommand::run(const QCommandLineParser& parser) const {
    const QString folder = required(parser, QStringLiteral("data"));
    const QString project = required(parser, QStringLiteral("project"));
    const QString xml = single(parser, QStringLiteral("xml"));
    const QString ics = single(parser, QStringLiteral("ics"));
    const QString member = single(parser, QStringLiteral("member"));
    ProjectSession::refuseArguments(parser);
    if (xml.isEmpty() == ics.isEmpty())
        throw UsageError(QStringLiteral("give one of --xml FILE and --ics FILE"));
    if (!member.isEmpty() && ics.isEmpty())
        throw UsageError(QStringLiteral("--member goes with --ics"));
    ProjectData dm;
    dm.connectTo(folder);
    ProjectExchange exchange(*dm.store);
    const ProjectExchange::Outcome done =
        xml.isEmpty() ? exchange.exportFile(exchange.findProject(project), ics,
                                            ProjectExchange::Format::ICalendar, member)
                      : exchange.exportFile(exchange.findProject(project), xml,
                                            ProjectExchange::Format::MsProjectXml);
    for (const QString& line : done.lines)
        out() << line << "\n";
    return 0;
}

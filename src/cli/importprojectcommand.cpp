#include "importprojectcommand.h"

#include "data/projectdata.h"
#include "exchange/projectexchange.h"
#include "projectsession.h"

#include <QCommandLineParser>

void ImportProjectCommand::define(QCommandLineParser& parser) const {
    parser.addOption(dataOption());
    parser.addOption({QStringLiteral("xml"),
                      QStringLiteral("The MS Project XML (MSPDI) file to import."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("project"),
                      QStringLiteral("The new project's name (default: the file's title, then its "
                                     "project summary task, then the file's name)."),
                      QStringLiteral("NAME")});
}

int ImportProjectCommand::run(const QCommandLineParser& parser) const {
    const QString folder = required(parser, QStringLiteral("data"));
    const QString file = required(parser, QStringLiteral("xml"));
    const QString project = single(parser, QStringLiteral("project"));
    ProjectSession::refuseArguments(parser);
    ProjectData dm;
    dm.connectTo(folder);
    const ProjectExchange::Outcome done = ProjectExchange(*dm.store).importFile(file, project);
    for (const QString& line : done.lines)
        out() << line << "\n";
    return 0;
}

#include "copyprojectcommand.h"

#include "framework/io/showntext.h"

#include "data/projectcopy.h"
#include "data/projectcopytables.h"
#include "projectsession.h"

#include <QCommandLineParser>

void CopyProjectCommand::define(QCommandLineParser& parser) const {
    parser.addOption(dataOption());
    parser.addOption({QStringLiteral("project"),
                      QStringLiteral("The project to copy, by name (the first of that name)."),
                      QStringLiteral("NAME")});
}

int CopyProjectCommand::run(const QCommandLineParser& parser) const {
    const QString folder = required(parser, QStringLiteral("data"));
    const QString project = required(parser, QStringLiteral("project"));
    ProjectSession::refuseArguments(parser);
    ProjectSession session(folder);
    session.goToProject(project);
    ProjectCopyTables copies(session.dm.store);
    const ProjectCopy::Result copy = ProjectCopy(session.dm, copies).run();
    out() << "Copied '" << vok::ShownText::escaped(project) << "' to project " << copy.project
          << ": " << vok::ShownText::escaped(copy.name) << "\n";
    return 0;
}

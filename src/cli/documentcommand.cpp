#include "documentcommand.h"

#include "framework/dataset/table.h"
#include "framework/io/showntext.h"
#include "projectsession.h"
#include "ui/main/summarydocument.h"

#include <QCommandLineParser>
#include <QTextDocument>

void DocumentCommand::define(QCommandLineParser& parser) const {
    parser.addOption(dataOption());
    const auto option = [&](const char* name, const char* description, const char* value) {
        parser.addOption({QLatin1String(name), QLatin1String(description), QLatin1String(value)});
    };
    option("project", "The project, by name (the first of that name).", "NAME");
    option("major", "A major activity of the project, by name.", "NAME");
    option("action", "An action of that major activity, by name.", "NAME");
    option("contact", "A contact of the project, by name.", "NAME");
    option("odt", "The OpenDocument text file to write.", "FILE");
}

int DocumentCommand::run(const QCommandLineParser& parser) const {
    const QString folder = required(parser, QStringLiteral("data"));
    const QString project = required(parser, QStringLiteral("project"));
    const QString file = required(parser, QStringLiteral("odt"));
    const QString major = single(parser, QStringLiteral("major"));
    const QString action = single(parser, QStringLiteral("action"));
    const QString contact = single(parser, QStringLiteral("contact"));
    ProjectSession::refuseArguments(parser);
    if (!action.isEmpty() && major.isEmpty())
        throw UsageError(QStringLiteral("--action needs the --major it belongs to"));
    if (!contact.isEmpty() && !major.isEmpty())
        throw UsageError(QStringLiteral("--contact and --major name different documents"));

    refuseDataTarget(file, folder);

    ProjectSession session(folder);
    ProjectData& dm = session.dm;
    session.goToProject(project);
    SummaryDocument::Kind kind = SummaryDocument::Kind::Project;
    if (!contact.isEmpty()) {
        session.goTo(*dm.Contacts, "ProjectContact_name", contact, "contact of the project");
        kind = SummaryDocument::Kind::Contact;
    } else if (!major.isEmpty()) {
        session.goTo(*dm.Major, "Major_item", major, "major activity of the project");
        kind = SummaryDocument::Kind::Major;
        if (!action.isEmpty()) {
            session.goTo(*dm.Action, "Action_name", action, "action of the major activity");
            kind = SummaryDocument::Kind::Action;
        }
    }
    const auto document = SummaryDocument::build(SummaryDocument::lines(kind, dm));
    SummaryDocument::write(*document, file);
    out() << "Wrote " << vok::ShownText::escaped(SummaryDocument::title(kind, dm)) << " to " << file
          << "\n";
    return 0;
}

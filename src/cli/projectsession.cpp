#include "projectsession.h"

#include "command.h"
#include "framework/dataset/table.h"
#include "framework/io/showntext.h"

#include <QCommandLineParser>
#include <stdexcept>

ProjectSession::ProjectSession(const QString& folder) {
    dm.DataPath = folder;
    dm.store->setNetworkControlDir(folder);
    dm.connectTo(folder);
    dm.openWorkingTables();
}

void ProjectSession::goToProject(const QString& name) {
    goTo(*dm.projects, "Zel_project", name, "project");
}

void ProjectSession::goTo(vok::Table& records, const char* field, const QString& name,
                          const char* what) {
    if (!records.locate(QLatin1String(field), name))
        throw std::runtime_error(QStringLiteral("no %1 is named '%2'")
                                     .arg(QLatin1String(what), vok::ShownText::escaped(name))
                                     .toStdString());
}

void ProjectSession::refuseArguments(const QCommandLineParser& parser) {
    if (!parser.positionalArguments().isEmpty())
        throw UsageError(
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
}

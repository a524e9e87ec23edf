#include "initcommand.h"

#include "data/datafolder.h"
#include "framework/dataset/engine.h"

#include <QCommandLineParser>

void InitCommand::define(QCommandLineParser& parser) const {
    parser.addPositionalArgument(
        QStringLiteral("DIR"),
        QStringLiteral("The new data folder, or an empty PostgreSQL database (URI)."));
}

QString InitCommand::folderArgument(const QCommandLineParser& parser) {
    const QStringList args = parser.positionalArguments();
    if (args.size() != 1)
        throw UsageError(QStringLiteral("give one folder"));
    return args.first();
}

int InitCommand::run(const QCommandLineParser& parser) const {
    const QString folder = folderArgument(parser);
    DataFolder::create(folder);
    out() << (vok::Engine::isServerLocation(folder) ? "Created the Vok tables in "
                                                    : "Created an empty data folder in ")
          << folder << "\n";
    return 0;
}

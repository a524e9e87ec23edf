#include "democommand.h"

#include "data/datafolder.h"
#include "framework/ui/clock.h"
#include "initcommand.h"

#include <QCommandLineParser>

void DemoCommand::define(QCommandLineParser& parser) const {
    parser.addPositionalArgument(QStringLiteral("DIR"), QStringLiteral("The new data folder."));
}

int DemoCommand::run(const QCommandLineParser& parser) const {
    const QString folder = InitCommand::folderArgument(parser);
    DataFolder::createDemo(folder, vok::Clock::today());
    out() << "Created a demo data folder in " << folder << "\n";
    return 0;
}

#include "commandline.h"

#include "app/storageconfiguration.h"
#include "command.h"
#include "copydatacommand.h"
#include "copyprojectcommand.h"
#include "democommand.h"
#include "documentcommand.h"
#include "exportprojectcommand.h"
#include "framework/dataset/databaseerror.h"
#include "framework/dataset/servernotices.h"
#include "importprojectcommand.h"
#include "initcommand.h"
#include "mergecostscommand.h"
#include "mergetimesheetscommand.h"
#include "reportcommand.h"

#include <QCommandLineParser>
#include <QCoreApplication>

CommandLine::CommandLine() {
    // What a data server says beside its answers reaches standard error escaped, one line each.
    vok::ServerNotices::routeTo([](const QString& line) {
        Command::out().flush();
        Command::err() << "vokctl: the data server says: " << line << "\n";
        Command::err().flush();
    });
    commands_.push_back(std::make_unique<InitCommand>());
    commands_.push_back(std::make_unique<DemoCommand>());
    commands_.push_back(std::make_unique<ReportCommand>());
    commands_.push_back(std::make_unique<MergeTimeSheetsCommand>());
    commands_.push_back(std::make_unique<MergeCostsCommand>());
    commands_.push_back(std::make_unique<CopyDataCommand>());
    commands_.push_back(std::make_unique<CopyProjectCommand>());
    commands_.push_back(std::make_unique<DocumentCommand>());
    commands_.push_back(std::make_unique<ImportProjectCommand>());
    commands_.push_back(std::make_unique<ExportProjectCommand>());
}

CommandLine::~CommandLine() = default;

QString CommandLine::overview() const {
    QString text = QStringLiteral("Usage: vokctl VERB [options]\n"
                                  "       vokctl VERB --help    the options of one verb\n"
                                  "       vokctl --version\n\nVerbs:\n");
    for (const auto& c : commands_)
        text += QStringLiteral("  %1%2\n").arg(c->name(), -18).arg(c->summary());
    return text;
}

int CommandLine::run(const QStringList& args) const {
    if (args.isEmpty()) {
        Command::err() << overview();
        return 2;
    }
    const QString& first = args.first();
    if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
        Command::out() << overview();
        return 0;
    }
    if (first == QLatin1String("--version") || first == QLatin1String("-v")) {
        Command::out() << "vokctl " << QCoreApplication::applicationVersion() << "\n";
        return 0;
    }
    for (const auto& c : commands_) {
        if (c->name() == first)
            return runVerb(*c, args);
    }
    Command::err() << "vokctl: unknown verb '" << first << "'\n\n" << overview();
    return 2;
}

int CommandLine::runVerb(const Command& command, const QStringList& args) const {
    QCommandLineParser parser;
    parser.setApplicationDescription(command.summary());
    const QCommandLineOption helpOption = parser.addHelpOption();
    command.define(parser);
    // The parser reads the first argument as the program's name.
    const QStringList argv = QStringList{QStringLiteral("vokctl ") + command.name()} + args.mid(1);
    const QString prefix = QStringLiteral("vokctl ") + command.name() + QStringLiteral(": ");
    // The parser's help names the program by its path; the verb belongs there too.
    const auto help = [&] {
        QString text = parser.helpText();
        const qsizetype from = text.indexOf(QLatin1Char(' ')) + 1;
        const qsizetype to = text.indexOf(QLatin1Char(' '), from);
        return text.replace(from, to - from, QStringLiteral("vokctl ") + command.name());
    };
    if (!parser.parse(argv)) {
        Command::err() << prefix << parser.errorText() << "\n\n" << help();
        return 2;
    }
    if (parser.isSet(helpOption)) {
        Command::out() << help();
        return 0;
    }
    try {
        // The same storage configuration as Vok writes at every start: shared locking, so a
        // running Vok and this command wait for each other instead of failing.
        if (const QString notice = StorageConfiguration::writeEntries(); !notice.isEmpty())
            Command::err() << prefix << notice << "\n";
        const int status = command.run(parser);
        Command::out().flush();
        return status;
    } catch (const UsageError& e) {
        Command::out().flush();
        Command::err() << prefix << e.message() << "\n\n" << help();
    } catch (const vok::DatabaseError& e) {
        Command::out().flush();
        Command::err() << prefix << e.message() << "\n";
        return 1;
    } catch (const std::exception& e) {
        Command::out().flush();
        Command::err() << prefix << e.what() << "\n";
        return 1;
    }
    return 2;
}

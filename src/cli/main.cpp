// vokctl: the command line for data folders, reports and merges.
#include "app/storageconfiguration.h"
#include "data/datafolder.h"
#include "framework/dataset/databaseerror.h"
#include "framework/ui/clock.h"
#include "reportcommand.h"

#include <QApplication>
#include <QDate>
#include <QStringList>
#include <QTextStream>
#include <cstdio>
#include <functional>

namespace {

QTextStream& err() {
    static QTextStream s(stderr);
    return s;
}

QTextStream& out() {
    static QTextStream s(stdout);
    return s;
}

const char* usage =
    "usage:\n"
    "  vokctl init DIR                       create an empty data folder\n"
    "  vokctl demo DIR                       create a data folder with sample data\n"
    "  vokctl report KIND --data DIR --project NAME [options] --pdf FILE [--layout-json FILE]\n"
    "  vokctl merge-timesheets --data DIR (--member NAME ... | --all)\n"
    "  vokctl merge-costs --data DIR\n";

int initFolder(const QStringList& args) {
    if (args.size() != 1) {
        err() << usage;
        return 2;
    }
    DataFolder::create(args[0]);
    out() << "Created an empty data folder in " << args[0] << "\n";
    return 0;
}

int demoFolder(const QStringList& args) {
    if (args.size() != 1) {
        err() << usage;
        return 2;
    }
    DataFolder::createDemo(args[0], vok::Clock::today());
    out() << "Created a demo data folder in " << args[0] << "\n";
    return 0;
}

struct Command {
    const char* name;
    std::function<int(const QStringList&)> run;
};

} // namespace

int main(int argc, char** argv) {
    // Reports measure text with the real fonts, so the command line runs a GUI application
    // without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Vok"));
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h")) {
        out() << usage;
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    const Command commands[] = {
        {"init", initFolder},
        {"demo", demoFolder},
        {"report", ReportCommand::run},
    };
    for (const Command& c : commands) {
        if (name != QLatin1String(c.name))
            continue;
        try {
            // The same storage configuration as Vok writes at every start: shared locking, so
            // a running Vok and this command wait for each other instead of failing.
            StorageConfiguration::writeEntries();
            return c.run(args);
        } catch (const vok::DatabaseError& e) {
            err() << "vokctl " << name << ": " << e.message() << "\n";
            return 1;
        } catch (const std::exception& e) {
            err() << "vokctl " << name << ": " << e.what() << "\n";
            return 1;
        }
    }
    err() << "vokctl: unknown command '" << name << "'\n" << usage;
    return 2;
}

#include "vokcommandline.h"

#include <QCommandLineParser>
#include <cstdio>

namespace {

struct Parser {
    QCommandLineParser parser;
    QCommandLineOption help = parser.addHelpOption();
    QCommandLineOption version = parser.addVersionOption();

    Parser() {
        // "-style" and "-stylesheet" are single options of Qt's, not bundles of letters.
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.setApplicationDescription(QStringLiteral(
            "Vok plans and follows projects: major activities and actions, teams, notes,\n"
            "contacts, time sheets, costs and printed reports.\n\n"
            "It opens the data folder named by Data in section [Vok] of Vok.conf (in\n"
            "/etc/xdg, following XDG_CONFIG_DIRS), or ~/.local/share/Vok/data when that\n"
            "is empty. vokctl creates data folders, prints reports and merges time sheets\n"
            "from the command line. Qt's own options (-platform NAME, -style NAME, ...)\n"
            "are understood too."));
    }

    QString helpText() const {
        // Without an application object yet, the parser cannot know the program's name.
        QString text = parser.helpText();
        const qsizetype from = text.indexOf(QLatin1Char(' ')) + 1;
        const qsizetype to = text.indexOf(QLatin1Char(' '), from);
        return text.replace(from, to - from, QStringLiteral("vok"));
    }
};

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

std::optional<int> VokCommandLine::answer(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    Parser p;
    // Options it does not know may be Qt's: refuse() judges them once Qt has taken its share.
    p.parser.parse(arguments);
    if (p.parser.isSet(p.help) || p.parser.isSet(QStringLiteral("help-all"))) {
        print(stdout, p.helpText());
        return 0;
    }
    if (p.parser.isSet(p.version)) {
        print(stdout, QStringLiteral("vok %1\n").arg(QStringLiteral(VOK_VERSION)));
        return 0;
    }
    return std::nullopt;
}

std::optional<int> VokCommandLine::refuse(const QStringList& arguments) {
    Parser p;
    QString error;
    if (!p.parser.parse(arguments))
        error = p.parser.errorText();
    else if (!p.parser.positionalArguments().isEmpty())
        error =
            QStringLiteral("Unexpected argument '%1'.").arg(p.parser.positionalArguments().first());
    if (error.isEmpty())
        return std::nullopt;
    print(stderr, QStringLiteral("vok: %1\n\n%2").arg(error, p.helpText()));
    return 2;
}

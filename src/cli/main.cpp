// vokctl: the command line for data folders, reports and merges.
#include "commandline.h"

#include <QApplication>

int main(int argc, char** argv) {
    // Reports measure text with the real fonts, so the command line runs a GUI application
    // without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vok"));
    QApplication::setApplicationVersion(QStringLiteral(VOK_VERSION));
    return CommandLine().run(app.arguments().mid(1));
}

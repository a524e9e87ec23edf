// Process entry: creates every window and data module once, writes the storage configuration,
// and runs the message loop.
#include "app/storageconfiguration.h"
#include "app/terminationsignal.h"
#include "app/vokapplication.h"
#include "appwindows.h"
#include "framework/dataset/databaseerror.h"
#include "framework/ui/messages.h"
#include "ui/main/mainwindow.h"
#include "vokcommandline.h"

#include <QIcon>
#include <cstdio>
#include <memory>

int main(int argc, char** argv) {
    if (const std::optional<int> answered = VokCommandLine::answer(argc, argv))
        return *answered;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fprintf(stderr,
                     "vok: there is no display to show the window on. Run Vok on a desktop, "
                     "or under a virtual display:\n  xvfb-run -a vok\n");
        return 1;
    }
    VokApplication app(argc, argv);
    // The desktop matches the windows to the menu entry and its icon by this name; window
    // managers that read the icon from the window find it in the installed icon theme.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vok.Vok"));
    QGuiApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.vok.Vok")));
    if (const std::optional<int> refused = VokCommandLine::refuse(QCoreApplication::arguments()))
        return *refused;
    if (qEnvironmentVariableIsSet("VOK_UNATTENDED")) {
        // Scripted runs: every box is written to standard error and answered with its first
        // button, or No where it asks.
        vok::Messages::setHandler([](const vok::Messages::Request& r) {
            std::fprintf(stderr, "[%s] %s\n", qPrintable(r.title), qPrintable(r.text));
            if (r.buttons & QMessageBox::No)
                return QMessageBox::No;
            return QMessageBox::Ok;
        });
    }
    std::unique_ptr<AppWindows> windows;
    QString notice;
    try {
        windows = std::make_unique<AppWindows>();
        notice = StorageConfiguration::writeEntries();
    } catch (const vok::DatabaseError& e) {
        VokApplication::showApplicationError(e.kindName(), e.message());
        return 1;
    } catch (const std::exception& e) {
        VokApplication::showApplicationError(QStringLiteral("Exception"),
                                             QString::fromUtf8(e.what()));
        return 1;
    }
    // The session ending closes Vok as its title bar would: what was typed is stored.
    TerminationSignal termination;
    MainWindow* mainWindow = windows->mainWindow.get();
    // The user who goes back to an edit Vok could not store keeps Vok open.
    QObject::connect(&termination, &TerminationSignal::received, mainWindow, [mainWindow] {
        if (mainWindow->close())
            QCoreApplication::quit();
    });
    mainWindow->show();
    if (!notice.isEmpty())
        vok::Messages::inform(notice);
    const int rc = app.exec();
    windows.reset();
    return rc;
}

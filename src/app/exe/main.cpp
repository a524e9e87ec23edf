// Process entry: creates every window and data module once, writes the storage configuration,
// and runs the message loop.
#include "app/storageconfiguration.h"
#include "app/terminationsignal.h"
#include "app/vokapplication.h"
#include "costs/tform18.h"
#include "costs/tform19.h"
#include "data/tdatamodule2.h"
#include "framework/dataset/databaseerror.h"
#include "framework/ui/messages.h"
#include "reports/tform4.h"
#include "reports/tform5.h"
#include "timesheets/tform10.h"
#include "timesheets/tform11.h"
#include "timesheets/tform12.h"
#include "ui/main/tform1.h"
#include "vokcommandline.h"

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
    // The desktop matches the windows to the menu entry and its icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vok.Vok"));
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
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TDataModule2> dataModule2;
    std::unique_ptr<TForm4> form4;
    std::unique_ptr<TForm5> form5;
    std::unique_ptr<TForm10> form10;
    std::unique_ptr<TForm11> form11;
    std::unique_ptr<TForm12> form12;
    std::unique_ptr<TForm18> form18;
    std::unique_ptr<TForm19> form19;
    try {
        form1 = std::make_unique<TForm1>();
        dataModule2 = std::make_unique<TDataModule2>();
        form1->setDataModule(dataModule2.get());
        form4 = std::make_unique<TForm4>(form1.get(), dataModule2.get());
        form5 = std::make_unique<TForm5>(form1.get(), dataModule2.get(), form4.get());
        form4->setReport(form5.get());
        form10 = std::make_unique<TForm10>(dataModule2.get());
        form11 = std::make_unique<TForm11>(dataModule2.get(), form10.get());
        form11->connectMenu(form1->TimeSheetEntry2);
        form12 = std::make_unique<TForm12>(dataModule2.get());
        form12->connectMenu(form1->UpdateTimeSheets1);
        form18 = std::make_unique<TForm18>(dataModule2.get());
        form18->connectMenu(form1->CostEntry1);
        form19 = std::make_unique<TForm19>(dataModule2.get());
        form19->connectMenu(form1->UpdateCostEntries1);
        StorageConfiguration::writeEntries();
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
    QObject::connect(&termination, &TerminationSignal::received, form1.get(), [&form1] {
        form1->close();
        QCoreApplication::quit();
    });
    form1->show();
    const int rc = app.exec();
    // The windows go before the record-sets they show.
    form19.reset();
    form18.reset();
    form12.reset();
    form11.reset();
    form10.reset();
    form5.reset();
    form4.reset();
    form1.reset();
    dataModule2.reset();
    return rc;
}

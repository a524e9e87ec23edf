// Process entry: creates every window and data module once, writes the storage configuration,
// and runs the message loop.
#include "app/storageconfiguration.h"
#include "app/vokapplication.h"
#include "costs/tform18.h"
#include "costs/tform19.h"
#include "costs/tform20.h"
#include "costs/tform21.h"
#include "data/tdatamodule2.h"
#include "framework/dataset/databaseerror.h"
#include "framework/ui/messages.h"
#include "reports/tform22.h"
#include "reports/tform4.h"
#include "reports/tform5.h"
#include "reports/tform6.h"
#include "reports/tform7.h"
#include "reports/tform8.h"
#include "reports/tform9.h"
#include "timesheets/tform10.h"
#include "timesheets/tform11.h"
#include "timesheets/tform12.h"
#include "timesheets/tform13.h"
#include "timesheets/tform14.h"
#include "ui/main/tform1.h"

#include <cstdio>
#include <memory>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fprintf(stderr,
                     "vok: there is no display to show the window on. Run Vok on a desktop, "
                     "or under a virtual display:\n  xvfb-run -a vok\n");
        return 1;
    }
    VokApplication app(argc, argv);
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
    std::unique_ptr<TForm6> form6;
    std::unique_ptr<TForm7> form7;
    std::unique_ptr<TForm8> form8;
    std::unique_ptr<TForm9> form9;
    std::unique_ptr<TForm10> form10;
    std::unique_ptr<TForm11> form11;
    std::unique_ptr<TForm12> form12;
    std::unique_ptr<TForm13> form13;
    std::unique_ptr<TForm14> form14;
    std::unique_ptr<TForm18> form18;
    std::unique_ptr<TForm19> form19;
    std::unique_ptr<TForm20> form20;
    std::unique_ptr<TForm21> form21;
    std::unique_ptr<TForm22> form22;
    try {
        form1 = std::make_unique<TForm1>();
        dataModule2 = std::make_unique<TDataModule2>();
        form1->setDataModule(dataModule2.get());
        // The print dialogs name the chosen project in the main window for the project filter.
        const auto printProject = [&form1](const QString& name) {
            form1->PrintProject->setText(name);
        };
        const auto attach = [&](ReportDialog* dialog, ReportForm* report, QAction* menuItem) {
            dialog->setReport(report);
            dialog->setPrintProject(printProject);
            dialog->connectMenu(menuItem);
        };
        form4 = std::make_unique<TForm4>(dataModule2.get());
        form5 = std::make_unique<TForm5>(dataModule2.get(), [&form4] { return form4->options(); });
        attach(form4.get(), form5.get(), form1->PrintPERT1);
        form6 = std::make_unique<TForm6>(dataModule2.get());
        form7 = std::make_unique<TForm7>(dataModule2.get(), [&form6] { return form6->options(); });
        attach(form6.get(), form7.get(), form1->Format1);
        form8 = std::make_unique<TForm8>(dataModule2.get());
        form9 = std::make_unique<TForm9>(dataModule2.get());
        attach(form8.get(), form9.get(), form1->Print1);
        form10 = std::make_unique<TForm10>(dataModule2.get());
        form11 = std::make_unique<TForm11>(dataModule2.get(), form10.get());
        form11->connectMenu(form1->TimeSheetEntry2);
        form12 = std::make_unique<TForm12>(dataModule2.get());
        form12->connectMenu(form1->UpdateTimeSheets1);
        form13 =
            std::make_unique<TForm13>(dataModule2.get(), [&form14] { return form14->options(); });
        form14 = std::make_unique<TForm14>(dataModule2.get());
        attach(form14.get(), form13.get(), form1->PrintTimesheetreport1);
        form18 = std::make_unique<TForm18>(dataModule2.get());
        form18->connectMenu(form1->CostEntry1);
        form19 = std::make_unique<TForm19>(dataModule2.get());
        form19->connectMenu(form1->UpdateCostEntries1);
        form20 = std::make_unique<TForm20>(dataModule2.get());
        form21 =
            std::make_unique<TForm21>(dataModule2.get(), [&form20] { return form20->options(); });
        attach(form20.get(), form21.get(), form1->PrintCostsreport1);
        form22 = std::make_unique<TForm22>(dataModule2.get());
        // Like every command on the selected node, "Print list" positions on it first.
        form22->connectButton(form1->SpeedButton9, [&form1] { form1->positionOnSelectedNode(1); });
        StorageConfiguration::writeEntries();
    } catch (const vok::DatabaseError& e) {
        VokApplication::showApplicationError(e.kindName(), e.message());
        return 1;
    } catch (const std::exception& e) {
        VokApplication::showApplicationError(QStringLiteral("Exception"),
                                             QString::fromUtf8(e.what()));
        return 1;
    }
    form1->show();
    const int rc = app.exec();
    // The windows go before the record-sets they show.
    form22.reset();
    form21.reset();
    form20.reset();
    form19.reset();
    form18.reset();
    form14.reset();
    form13.reset();
    form12.reset();
    form11.reset();
    form10.reset();
    form9.reset();
    form8.reset();
    form7.reset();
    form6.reset();
    form5.reset();
    form4.reset();
    form1.reset();
    dataModule2.reset();
    return rc;
}

#include "appwindows.h"

#include "costs/tform18.h"
#include "costs/tform19.h"
#include "costs/tform20.h"
#include "costs/tform21.h"
#include "data/tdatamodule17.h"
#include "data/tdatamodule2.h"
#include "exchange/exchangemenu.h"
#include "lang/interfacelanguage.h"
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
#include "ui/main/tform15.h"
#include "ui/main/tform3.h"

AppWindows::AppWindows() {
    form1 = std::make_unique<TForm1>();
    dataModule2 = std::make_unique<TDataModule2>();
    form1->setDataModule(dataModule2.get());
    form3 = std::make_unique<TForm3>(dataModule2.get());
    form1->setMemberList(form3.get());
    // Reports, merges and entry windows walk their own record-sets: the pages stay where they are.
    TDataModule2* walks = &dataModule2->walks();
    // The print dialogs name the chosen project in the main window for the project filter.
    const auto attach = [this](ReportDialog* dialog, ReportForm* report, QAction* menuItem) {
        dialog->setReport(report);
        dialog->setPrintProject(
            [this](const QString& name) { form1->PrintProject->setText(name); });
        dialog->connectMenu(menuItem);
    };
    form4 = std::make_unique<TForm4>(walks);
    form5 = std::make_unique<TForm5>(walks, [this] { return form4->options(); });
    attach(form4.get(), form5.get(), form1->PrintPERT1);
    form6 = std::make_unique<TForm6>(walks);
    form7 = std::make_unique<TForm7>(walks, [this] { return form6->options(); });
    attach(form6.get(), form7.get(), form1->Format1);
    form8 = std::make_unique<TForm8>(walks);
    form9 = std::make_unique<TForm9>(walks);
    attach(form8.get(), form9.get(), form1->Print1);
    form10 = std::make_unique<TForm10>(walks);
    form11 = std::make_unique<TForm11>(walks, form10.get());
    form11->connectMenu(form1->TimeSheetEntry2);
    form12 = std::make_unique<TForm12>(walks);
    form12->connectMenu(form1->UpdateTimeSheets1);
    form13 = std::make_unique<TForm13>(walks, [this] { return form14->options(); });
    form14 = std::make_unique<TForm14>(walks);
    attach(form14.get(), form13.get(), form1->PrintTimesheetreport1);
    form15 = std::make_unique<TForm15>(dataModule2.get());
    form1->setContactWindow(form15.get());
    dataModule17 = std::make_unique<TDataModule17>(dataModule2->Database1);
    form1->setCopyModule(dataModule17.get());
    form18 = std::make_unique<TForm18>(walks);
    form18->connectMenu(form1->CostEntry1);
    form19 = std::make_unique<TForm19>(walks);
    form19->connectMenu(form1->UpdateCostEntries1);
    form20 = std::make_unique<TForm20>(walks);
    form21 = std::make_unique<TForm21>(walks, [this] { return form20->options(); });
    attach(form20.get(), form21.get(), form1->PrintCostsreport1);
    form22 = std::make_unique<TForm22>(walks);
    // Like every command on the selected node, "Print list" positions on it first.
    form22->connectButton(form1->SpeedButton9, [this, walks] {
        form1->positionOnSelectedNode(1);
        walks->followShownProject();
    });

    exchangeMenu = std::make_unique<ExchangeMenu>(
        form1.get(), form1->menuBar(), form1->ProjectPopup, dataModule2.get(),
        [this] {
            return form1->positionOnSelectedNode(1)
                       ? dataModule2->projects->fieldByName(QStringLiteral("Zel_Project_id"))
                             .asInteger()
                       : 0;
        },
        [this](int project) {
            form1->LoadTree();
            form1->selectNode(QString::number(project));
        });

    language = std::make_unique<InterfaceLanguage>(windows(), form1.get());
    form1->setTranslateInterface([this](int index) { language->TranslateInterface(index); });
}

AppWindows::~AppWindows() {
    form1->setTranslateInterface({});
    language.reset();
    exchangeMenu.reset();
    form22.reset();
    form21.reset();
    form20.reset();
    form19.reset();
    form18.reset();
    form15.reset();
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
    form3.reset();
    form1.reset();
    dataModule17.reset();
    dataModule2.reset();
}

QList<QObject*> AppWindows::windows() const {
    return {form1.get(),  form3.get(),  form4.get(),  form5.get(),  form6.get(),
            form7.get(),  form8.get(),  form9.get(),  form10.get(), form11.get(),
            form12.get(), form13.get(), form14.get(), form15.get(), form18.get(),
            form19.get(), form20.get(), form21.get(), form22.get()};
}

#include "forms.h"

#include "costs/tform18.h"
#include "costs/tform19.h"
#include "data/tdatamodule2.h"
#include "lang/interfacelanguage.h"
#include "reports/tform4.h"
#include "reports/tform5.h"
#include "timesheets/tform10.h"
#include "timesheets/tform11.h"
#include "timesheets/tform12.h"
#include "ui/main/tform1.h"

Forms::Forms() {
    form1 = std::make_unique<TForm1>();
    dataModule2 = std::make_unique<TDataModule2>();
    form1->setDataModule(dataModule2.get());
    TDataModule2* dm = dataModule2.get();
    form4 = std::make_unique<TForm4>(form1.get(), dm);
    form5 = std::make_unique<TForm5>(form1.get(), dm, form4.get());
    form4->setReport(form5.get());
    form10 = std::make_unique<TForm10>(dm);
    form11 = std::make_unique<TForm11>(dm, form10.get());
    form11->connectMenu(form1->TimeSheetEntry2);
    form12 = std::make_unique<TForm12>(dm);
    form12->connectMenu(form1->UpdateTimeSheets1);
    form18 = std::make_unique<TForm18>(dm);
    form18->connectMenu(form1->CostEntry1);
    form19 = std::make_unique<TForm19>(dm);
    form19->connectMenu(form1->UpdateCostEntries1);

    language = std::make_unique<InterfaceLanguage>(windows(), form1.get());
    form1->translateInterface = [this](int index) { language->TranslateInterface(index); };
}

Forms::~Forms() {
    // The windows go before the record-sets they show, the main window last of them.
    form1->translateInterface = nullptr;
    language.reset();
    form19.reset();
    form18.reset();
    form12.reset();
    form11.reset();
    form10.reset();
    form5.reset();
    form4.reset();
    form1.reset();
    dataModule2.reset();
}

QList<QObject*> Forms::windows() const {
    return {form1.get(),  form4.get(),  form5.get(),  form10.get(),
            form11.get(), form12.get(), form18.get(), form19.get()};
}

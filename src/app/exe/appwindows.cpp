#include "appwindows.h"

#include "costs/tform18.h"
#include "costs/tform19.h"
#include "data/tdatamodule17.h"
#include "data/tdatamodule2.h"
#include "reports/tform4.h"
#include "reports/tform5.h"
#include "timesheets/tform10.h"
#include "timesheets/tform11.h"
#include "timesheets/tform12.h"
#include "ui/main/tform1.h"
#include "ui/main/tform15.h"
#include "ui/main/tform3.h"

AppWindows::AppWindows() {
    form1 = std::make_unique<TForm1>();
    dataModule2 = std::make_unique<TDataModule2>();
    form1->setDataModule(dataModule2.get());
    form3 = std::make_unique<TForm3>(dataModule2.get());
    form1->setMemberList(form3.get());
    form4 = std::make_unique<TForm4>(form1.get(), dataModule2.get());
    form5 = std::make_unique<TForm5>(form1.get(), dataModule2.get(), form4.get());
    form4->setReport(form5.get());
    form10 = std::make_unique<TForm10>(dataModule2.get());
    form11 = std::make_unique<TForm11>(dataModule2.get(), form10.get());
    form11->connectMenu(form1->TimeSheetEntry2);
    form12 = std::make_unique<TForm12>(dataModule2.get());
    form12->connectMenu(form1->UpdateTimeSheets1);
    form15 = std::make_unique<TForm15>(dataModule2.get());
    form1->setContactWindow(form15.get());
    dataModule17 = std::make_unique<TDataModule17>(dataModule2->Database1);
    form1->setCopyModule(dataModule17.get());
    form18 = std::make_unique<TForm18>(dataModule2.get());
    form18->connectMenu(form1->CostEntry1);
    form19 = std::make_unique<TForm19>(dataModule2.get());
    form19->connectMenu(form1->UpdateCostEntries1);
}

AppWindows::~AppWindows() {
    form19.reset();
    form18.reset();
    form15.reset();
    form12.reset();
    form11.reset();
    form10.reset();
    form5.reset();
    form4.reset();
    form3.reset();
    form1.reset();
    dataModule17.reset();
    dataModule2.reset();
}

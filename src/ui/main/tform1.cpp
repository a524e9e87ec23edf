#include "tform1.h"

#include "app/settings.h"
#include "data/tdatamodule2.h"
#include "framework/dataset/databaseerror.h"
#include "framework/dataset/shortdate.h"
#include "framework/ui/guard.h"

#include <QEvent>
#include <QMenuBar>
#include <QVBoxLayout>

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Vok Project Dadiduzoro"));
    resize(796, 565);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    TreeView1 = new QTreeWidget(central);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    layout->addWidget(TreeView1);
    PrintProject = new QLabel(central);
    PrintProject->setObjectName(QStringLiteral("PrintProject"));
    PrintProject->hide();
    const auto makeLabel = [&](const char* name) {
        auto* l = new QLabel(central);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    SDLabel1 = makeLabel("SDLabel1");
    SDLabel2 = makeLabel("SDLabel2");
    SDLabel3 = makeLabel("SDLabel3");
    SDLabel4 = makeLabel("SDLabel4");
    SDLabel5 = makeLabel("SDLabel5");
    SDLabel6 = makeLabel("SDLabel6");
    setCentralWidget(central);

    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    const auto action = [this](QWidget* parent, const char* name, const QString& text) {
        auto* a = new QAction(text, this);
        a->setObjectName(QLatin1String(name));
        parent->addAction(a);
        return a;
    };
    const auto menu = [bar](const char* name, const QString& text) {
        auto* m = bar->addMenu(text);
        m->setObjectName(QLatin1String(name));
        return m;
    };
    AddaProject1 = action(bar, "AddaProject1", QStringLiteral("Add a Project"));
    Memberslist1 = action(bar, "Memberslist1", QStringLiteral("Team Members"));
    Timesheetentry1 = menu("Timesheetentry1", QStringLiteral("Time Sheets"));
    TimeSheetEntry2 =
        action(Timesheetentry1, "TimeSheetEntry2", QStringLiteral("Time Sheet Entry"));
    UpdateTimeSheets1 =
        action(Timesheetentry1, "UpdateTimeSheets1", QStringLiteral("Update Time Sheets"));
    CostSheets1 = menu("CostSheets1", QStringLiteral("Cost Sheets"));
    CostEntry1 = action(CostSheets1, "CostEntry1", QStringLiteral("Cost Entry"));
    UpdateCostEntries1 =
        action(CostSheets1, "UpdateCostEntries1", QStringLiteral("Update Cost Entries"));
    Reports1 = menu("Reports1", QStringLiteral("Reports"));
    PrintPERT1 = action(Reports1, "PrintPERT1", QStringLiteral("Print Time Line report"));
    Format1 = action(Reports1, "Format1", QStringLiteral("Print Project report"));
    Print1 = action(Reports1, "Print1", QStringLiteral("Print Project Layout report"));
    PrintTimesheetreport1 =
        action(Reports1, "PrintTimesheetreport1", QStringLiteral("Print Time sheet report"));
    PrintCostsreport1 = action(Reports1, "PrintCostsreport1", QStringLiteral("Print Costs report"));
    Changelanguage1 = menu("Changelanguage1", QStringLiteral("Change language"));
    English1 = action(Changelanguage1, "English1", QStringLiteral("English"));
    Franais1 = action(Changelanguage1, "Franais1", QString::fromUtf8("Français"));
    Espagnol1 = action(Changelanguage1, "Espagnol1", QStringLiteral("Espagnol"));
    Help1 = menu("Help1", QStringLiteral("Help"));
    Helpfiles1 = action(Help1, "Helpfiles1", QStringLiteral("Help files"));
    Emailusforhelp1 = action(Help1, "Emailusforhelp1", QStringLiteral("Email us for help"));
    Emailustobuysourcecode1 =
        action(Help1, "Emailustobuysourcecode1", QStringLiteral("Buy the source code (US$ 49)"));
    Exit1 = action(bar, "Exit1", QStringLiteral("Exit"));
}

void TForm1::setDataModule(TDataModule2* dm) {
    dm_ = dm;
    dm_->setPrintProjectSource([this] { return PrintProject->text(); });
}

QStringList TForm1::memberPickList(int grid) const {
    return pickLists_[grid - 1];
}

bool TForm1::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    return QMainWindow::event(e);
}

void TForm1::FormActivate() {
    vok::Guard::run([this] { firstActivation(); });
}

void TForm1::firstActivation() {
    if (!dm_ || dm_->Database1->isOpen())
        return;
    const Settings settings = Settings::read();
    dm_->DataPath = settings.data;
    dm_->Database1->setNetworkControlDir(dm_->DataPath);

    const QString pattern = vok::ShortDate::pattern();
    for (QLabel* l : {SDLabel1, SDLabel2, SDLabel3, SDLabel4, SDLabel5, SDLabel6})
        l->setText(pattern);

    dm_->connectTo(dm_->DataPath);
    for (vok::Table* t : {dm_->projects, dm_->Major, dm_->Action, dm_->ProjectNotes,
                          dm_->MajorNotes, dm_->ActionNotes, dm_->ProjectTeam, dm_->MajorTeam,
                          dm_->ActionTeam, dm_->Members, dm_->Contacts})
        t->open();

    vok::Table* members = dm_->Members;
    vok::Field& name = members->fieldByName(QStringLiteral("Member_name"));
    while (!members->eof()) {
        for (int grid : {3, 2, 1})
            pickLists_[grid - 1].append(name.asString());
        members->next();
    }

    if (settings.language != QLatin1String("0")) {
        bool ok = false;
        const int index = settings.language.toInt(&ok);
        if (!ok)
            throw vok::DatabaseError(
                QStringLiteral("'%1' is not a valid integer value").arg(settings.language),
                vok::DatabaseError::Kind::Convert);
        if (translateInterface)
            translateInterface(index);
    }
    LoadTree();
}

void TForm1::LoadTree() {
    TreeView1->clear();
    ProjectList.clear();
    CriticalList.clear();
}

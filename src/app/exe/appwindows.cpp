#include "appwindows.h"

#include "costs/costentrywindow.h"
#include "costs/costreport.h"
#include "costs/costreportdialog.h"
#include "costs/costupdatedialog.h"
#include "data/projectcopytables.h"
#include "data/projectdata.h"
#include "exchange/exchangemenu.h"
#include "lang/interfacelanguage.h"
#include "reports/contactlistreport.h"
#include "reports/layoutreport.h"
#include "reports/layoutreportdialog.h"
#include "reports/projectreport.h"
#include "reports/projectreportdialog.h"
#include "reports/timelinedialog.h"
#include "reports/timelinereport.h"
#include "timesheets/memberpickdialog.h"
#include "timesheets/timesheetentrywindow.h"
#include "timesheets/timesheetreport.h"
#include "timesheets/timesheetreportdialog.h"
#include "timesheets/timesheetupdatedialog.h"
#include "ui/main/contactwindow.h"
#include "ui/main/detailpage.h"
#include "ui/main/mainwindow.h"
#include "ui/main/memberlistwindow.h"
#include "ui/main/treecontroller.h"

AppWindows::AppWindows() {
    mainWindow = std::make_unique<MainWindow>();
    projectData = std::make_unique<ProjectData>();
    mainWindow->setDataModule(projectData.get());
    memberList = std::make_unique<MemberListWindow>(projectData.get());
    mainWindow->setMemberList(memberList.get());
    // Reports, merges and entry windows walk their own record-sets: the pages stay where they are.
    ProjectData* walks = &projectData->walks();
    // The print dialogs name the chosen project in the main window for the project filter.
    const auto attach = [this](ReportDialog* dialog, ReportForm* report, QAction* menuItem) {
        dialog->setReport(report);
        dialog->setPrintProject(
            [this](const QString& name) { mainWindow->printProjectLabel->setText(name); });
        dialog->connectMenu(menuItem);
    };
    timeLineDialog = std::make_unique<TimeLineDialog>(walks);
    timeLineReport =
        std::make_unique<TimeLineReport>(walks, [this] { return timeLineDialog->options(); });
    attach(timeLineDialog.get(), timeLineReport.get(), mainWindow->printTimeLineAction);
    projectDialog = std::make_unique<ProjectReportDialog>(walks);
    projectReport =
        std::make_unique<ProjectReport>(walks, [this] { return projectDialog->options(); });
    attach(projectDialog.get(), projectReport.get(), mainWindow->printProjectAction);
    layoutDialog = std::make_unique<LayoutReportDialog>(walks);
    layoutReport = std::make_unique<LayoutReport>(walks);
    attach(layoutDialog.get(), layoutReport.get(), mainWindow->printLayoutAction);
    entryWindow = std::make_unique<TimeSheetEntryWindow>(walks);
    memberPick = std::make_unique<MemberPickDialog>(walks, entryWindow.get());
    memberPick->connectMenu(mainWindow->timeSheetEntryAction);
    timeSheetUpdate = std::make_unique<TimeSheetUpdateDialog>(walks);
    timeSheetUpdate->connectMenu(mainWindow->updateTimeSheetsAction);
    timeSheetReport =
        std::make_unique<TimeSheetReport>(walks, [this] { return timeSheetDialog->options(); });
    timeSheetDialog = std::make_unique<TimeSheetReportDialog>(walks);
    attach(timeSheetDialog.get(), timeSheetReport.get(), mainWindow->printTimeSheetsAction);
    contactWindow = std::make_unique<ContactWindow>(projectData.get());
    mainWindow->setContactWindow(contactWindow.get());
    copyTables = std::make_unique<ProjectCopyTables>(projectData->store);
    mainWindow->setCopyModule(copyTables.get());
    costEntry = std::make_unique<CostEntryWindow>(walks);
    costEntry->connectMenu(mainWindow->costEntryAction);
    costUpdate = std::make_unique<CostUpdateDialog>(walks);
    costUpdate->connectMenu(mainWindow->updateCostEntriesAction);
    costDialog = std::make_unique<CostReportDialog>(walks);
    costReport = std::make_unique<CostReport>(walks, [this] { return costDialog->options(); });
    attach(costDialog.get(), costReport.get(), mainWindow->printCostsAction);
    contactList = std::make_unique<ContactListReport>(walks);
    // Like every command on the selected node, "Print list" positions on it first.
    contactList->connectButton(mainWindow->projectPage->contactListButton, [this, walks] {
        mainWindow->tree->positionOnSelectedNode(1);
        walks->followShownProject();
    });

    exchangeMenu = std::make_unique<ExchangeMenu>(
        mainWindow.get(), mainWindow->menuBar(), mainWindow->projectMenu, projectData.get(),
        [this] {
            return mainWindow->tree->positionOnSelectedNode(1)
                       ? projectData->projects->fieldByName(QStringLiteral("Zel_Project_id"))
                             .asInteger()
                       : 0;
        },
        [this](int project) {
            mainWindow->tree->loadTree();
            mainWindow->tree->selectNode(QString::number(project));
        });

    language = std::make_unique<InterfaceLanguage>(windows(), mainWindow.get());
    mainWindow->setTranslateInterface([this](int index) { language->TranslateInterface(index); });
}

AppWindows::~AppWindows() {
    mainWindow->setTranslateInterface({});
    language.reset();
    exchangeMenu.reset();
    contactList.reset();
    costReport.reset();
    costDialog.reset();
    costUpdate.reset();
    costEntry.reset();
    contactWindow.reset();
    timeSheetDialog.reset();
    timeSheetReport.reset();
    timeSheetUpdate.reset();
    memberPick.reset();
    entryWindow.reset();
    layoutReport.reset();
    layoutDialog.reset();
    projectReport.reset();
    projectDialog.reset();
    timeLineReport.reset();
    timeLineDialog.reset();
    memberList.reset();
    mainWindow.reset();
    copyTables.reset();
    projectData.reset();
}

QList<QObject*> AppWindows::windows() const {
    return {
        mainWindow.get(),      memberList.get(),    timeLineDialog.get(),  timeLineReport.get(),
        projectDialog.get(),   projectReport.get(), layoutDialog.get(),    layoutReport.get(),
        entryWindow.get(),     memberPick.get(),    timeSheetUpdate.get(), timeSheetReport.get(),
        timeSheetDialog.get(), contactWindow.get(), costEntry.get(),       costUpdate.get(),
        costDialog.get(),      costReport.get(),    contactList.get()};
}

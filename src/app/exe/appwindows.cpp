#include "appwindows.h"

#include "costs/costentrywindow.h"
#include "costs/costupdatedialog.h"
#include "data/projectcopytables.h"
#include "data/projectdata.h"
#include "exchange/exchangemenu.h"
#include "lang/interfacelanguage.h"
#include "reports/reportdialog.h"
#include "reports/reportform.h"
#include "reports/reportkinds.h"
#include "timesheets/memberpickdialog.h"
#include "timesheets/timesheetentrywindow.h"
#include "timesheets/timesheetupdatedialog.h"
#include "timesheets/weekentrywindow.h"
#include "ui/main/contactwindow.h"
#include "ui/main/mainwindow.h"
#include "ui/main/memberlistwindow.h"
#include "ui/main/treecontroller.h"

#include <QAbstractButton>
#include <QAction>
#include <stdexcept>

namespace {

// A command of the main window, by the object name a report kind gives.
template <class T> T* command(const MainWindow& window, const char* name) {
    T* c = window.findChild<T*>(QLatin1String(name));
    if (!c)
        throw std::logic_error(std::string("The main window has no command ") + name);
    return c;
}

} // namespace

AppWindows::AppWindows() {
    mainWindow = std::make_unique<MainWindow>();
    projectData = std::make_unique<ProjectData>();
    mainWindow->setDataModule(projectData.get());
    memberList = std::make_unique<MemberListWindow>(projectData.get());
    mainWindow->setMemberList(memberList.get());
    // Reports, merges and entry windows walk their own record-sets: the pages stay where they are.
    ProjectData* walks = &projectData->walks();
    // The print dialogs name the chosen project in the main window for the project filter.
    for (const ReportKind& kind : ReportKinds::all()) {
        ReportWindows& r = reports.emplace_back();
        if (kind.makeDialog)
            r.dialog = kind.makeDialog(walks);
        r.report = kind.makeReport(walks, r.dialog.get());
        if (r.dialog) {
            r.dialog->setReport(r.report.get());
            r.dialog->setPrintProject(
                [this](const QString& name) { mainWindow->printProjectLabel->setText(name); });
            r.dialog->connectMenu(command<QAction>(*mainWindow, kind.command));
        } else {
            // Like every command on the selected node, a report printed at once positions on
            // it first.
            r.report->connectButton(command<QAbstractButton>(*mainWindow, kind.command),
                                    [this, walks] {
                                        mainWindow->tree->positionOnSelectedNode(1);
                                        walks->followShownProject();
                                    });
        }
    }
    entryWindow = std::make_unique<TimeSheetEntryWindow>(walks);
    memberPick = std::make_unique<MemberPickDialog>(walks, entryWindow.get());
    memberPick->connectMenu(mainWindow->timeSheetEntryAction);
    weekEntry = std::make_unique<WeekEntryWindow>(walks);
    memberPick->connectWeekMenu(mainWindow->weekEntryAction, weekEntry.get());
    timeSheetUpdate = std::make_unique<TimeSheetUpdateDialog>(walks);
    timeSheetUpdate->connectMenu(mainWindow->updateTimeSheetsAction);
    contactWindow = std::make_unique<ContactWindow>(projectData.get());
    mainWindow->setContactWindow(contactWindow.get());
    copyTables = std::make_unique<ProjectCopyTables>(projectData->store);
    mainWindow->setCopyModule(copyTables.get());
    costEntry = std::make_unique<CostEntryWindow>(walks);
    costEntry->connectMenu(mainWindow->costEntryAction);
    costUpdate = std::make_unique<CostUpdateDialog>(walks);
    costUpdate->connectMenu(mainWindow->updateCostEntriesAction);

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
    costUpdate.reset();
    costEntry.reset();
    contactWindow.reset();
    timeSheetUpdate.reset();
    memberPick.reset();
    weekEntry.reset();
    entryWindow.reset();
    while (!reports.empty())
        reports.pop_back();
    memberList.reset();
    mainWindow.reset();
    copyTables.reset();
    projectData.reset();
}

QList<QObject*> AppWindows::reportWindows() const {
    QList<QObject*> list;
    for (const ReportWindows& r : reports) {
        if (r.dialog)
            list << r.dialog.get();
        list << r.report.get();
    }
    return list;
}

QList<QObject*> AppWindows::windows() const {
    return QList<QObject*>{mainWindow.get(), memberList.get()} + reportWindows() +
           QList<QObject*>{entryWindow.get(),   memberPick.get(), timeSheetUpdate.get(),
                           contactWindow.get(), costEntry.get(),  costUpdate.get(),
                           weekEntry.get()};
}

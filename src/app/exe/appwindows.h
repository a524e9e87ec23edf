#pragma once

#include <QList>
#include <memory>

class ExchangeMenu;
class InterfaceLanguage;
class QObject;

class ProjectCopyTables;
class ProjectData;
class MainWindow;
class MemberListWindow;
class TimeLineDialog;
class TimeLineReport;
class ProjectReportDialog;
class ProjectReport;
class LayoutReportDialog;
class LayoutReport;
class TimeSheetEntryWindow;
class MemberPickDialog;
class TimeSheetUpdateDialog;
class TimeSheetReport;
class TimeSheetReportDialog;
class ContactWindow;
class CostEntryWindow;
class CostUpdateDialog;
class CostReportDialog;
class CostReport;
class ContactListReport;

// Every window and data module of the process, created once in start-up order and connected to
// the main window's commands, with the language switch that writes the captions of every window
// and report: what Vok runs, and what the tests walk. No table is open yet.
class AppWindows {
public:
    AppWindows();
    // The windows go before the record-sets they show.
    ~AppWindows();
    AppWindows(const AppWindows&) = delete;
    AppWindows& operator=(const AppWindows&) = delete;

    std::unique_ptr<MainWindow> mainWindow;
    std::unique_ptr<ProjectData> projectData;
    std::unique_ptr<MemberListWindow> memberList;
    std::unique_ptr<TimeLineDialog> timeLineDialog;
    std::unique_ptr<TimeLineReport> timeLineReport;
    std::unique_ptr<ProjectReportDialog> projectDialog;
    std::unique_ptr<ProjectReport> projectReport;
    std::unique_ptr<LayoutReportDialog> layoutDialog;
    std::unique_ptr<LayoutReport> layoutReport;
    std::unique_ptr<TimeSheetEntryWindow> entryWindow;
    std::unique_ptr<MemberPickDialog> memberPick;
    std::unique_ptr<TimeSheetUpdateDialog> timeSheetUpdate;
    std::unique_ptr<TimeSheetReport> timeSheetReport;
    std::unique_ptr<TimeSheetReportDialog> timeSheetDialog;
    std::unique_ptr<ContactWindow> contactWindow;
    std::unique_ptr<ProjectCopyTables> copyTables;
    std::unique_ptr<CostEntryWindow> costEntry;
    std::unique_ptr<CostUpdateDialog> costUpdate;
    std::unique_ptr<CostReportDialog> costDialog;
    std::unique_ptr<CostReport> costReport;
    std::unique_ptr<ContactListReport> contactList;
    // "Import project…" and a project's "Export…".
    std::unique_ptr<ExchangeMenu> exchangeMenu;
    // Applied at the first activation as the settings name it, and from "Change language".
    std::unique_ptr<InterfaceLanguage> language;

    // The windows and reports, in start-up order.
    QList<QObject*> windows() const;
};

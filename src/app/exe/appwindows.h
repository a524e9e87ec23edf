#pragma once

#include <QList>
#include <QObject>
#include <memory>
#include <vector>

class ExchangeMenu;
class InterfaceLanguage;
class ReportDialog;
class ReportForm;

class ProjectCopyTables;
class ProjectData;
class MainWindow;
class MemberListWindow;
class TimeSheetEntryWindow;
class MemberPickDialog;
class WeekEntryWindow;
class TimeSheetUpdateDialog;
class ContactWindow;
class CostEntryWindow;
class CostUpdateDialog;

// A report kind's dialog (none for a report printed at once) and its report.
struct ReportWindows {
    std::unique_ptr<ReportDialog> dialog;
    std::unique_ptr<ReportForm> report;
};

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
    // One per report kind, in the order of ReportKinds, each opened by its command of the main
    // window.
    std::vector<ReportWindows> reports;
    std::unique_ptr<TimeSheetEntryWindow> entryWindow;
    std::unique_ptr<WeekEntryWindow> weekEntry;
    std::unique_ptr<MemberPickDialog> memberPick;
    std::unique_ptr<TimeSheetUpdateDialog> timeSheetUpdate;
    std::unique_ptr<ContactWindow> contactWindow;
    std::unique_ptr<ProjectCopyTables> copyTables;
    std::unique_ptr<CostEntryWindow> costEntry;
    std::unique_ptr<CostUpdateDialog> costUpdate;
    // "Import project…" and a project's "Export…".
    std::unique_ptr<ExchangeMenu> exchangeMenu;
    // Applied at the first activation as the settings name it, and from "Change language".
    std::unique_ptr<InterfaceLanguage> language;

    // The windows and reports, in start-up order.
    QList<QObject*> windows() const;

    // The report dialogs and reports, each dialog before its report.
    QList<QObject*> reportWindows() const;
    // The report dialog or report of that class.
    template <class T> T* report() const {
        for (QObject* o : reportWindows()) {
            if (auto* t = qobject_cast<T*>(o))
                return t;
        }
        return nullptr;
    }
};

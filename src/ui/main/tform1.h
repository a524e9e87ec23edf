#pragma once

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QStringList>
#include <QTreeWidget>
#include <functional>

class TDataModule2;

// The main window: the project tree on the left, the detail pages of the selected project,
// major activity or action on the right.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

    // Binds the controls to the data module's record-sets. Start-up creates the main window
    // first and the data module second, then binds them.
    void setDataModule(TDataModule2* dm);
    TDataModule2* dm() const { return dm_; }

    // Applies a caption set (0 English, 1 French, 2 Spanish, other English); set at start-up.
    std::function<void(int)> translateInterface;

    // Main menu bar: the eight items and their sub-items. Windows of other folders connect their
    // handlers to these actions.
    QAction* AddaProject1;
    QAction* Memberslist1;
    QMenu* Timesheetentry1;
    QAction* TimeSheetEntry2;
    QAction* UpdateTimeSheets1;
    QMenu* CostSheets1;
    QAction* CostEntry1;
    QAction* UpdateCostEntries1;
    QMenu* Reports1;
    QAction* PrintPERT1;
    QAction* Format1;
    QAction* Print1;
    QAction* PrintTimesheetreport1;
    QAction* PrintCostsreport1;
    QMenu* Changelanguage1;
    QAction* English1;
    QAction* Franais1;
    QAction* Espagnol1;
    QMenu* Help1;
    QAction* Helpfiles1;
    QAction* Emailusforhelp1;
    QAction* Emailustobuysourcecode1;
    QAction* Exit1;

    QTreeWidget* TreeView1;
    QLabel* PrintProject;
    QLabel* SDLabel1;
    QLabel* SDLabel2;
    QLabel* SDLabel3;
    QLabel* SDLabel4;
    QLabel* SDLabel5;
    QLabel* SDLabel6;
    QStringList ProjectList;
    QStringList idstrings;
    QStringList CriticalList;

    // The pick list of the "Member" column of DBGrid3, DBGrid2 or DBGrid1 (grid 3, 2 or 1).
    QStringList memberPickList(int grid) const;

public Q_SLOTS:
    // First activation: settings, connection, tables, pick lists, language, tree. Runs once.
    void FormActivate();
    void LoadTree();

protected:
    bool event(QEvent* e) override;

private:
    void firstActivation();

    TDataModule2* dm_ = nullptr;
    QStringList pickLists_[3];
};

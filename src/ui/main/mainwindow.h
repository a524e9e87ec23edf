#pragma once

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <array>
#include <functional>
#include <vector>

class ProjectTree;
class QHelpEvent;
class QTimer;
class RecordTab;
class ProjectCopyTables;
class ProjectData;
class ContactWindow;
class MemberListWindow;

namespace vok {
class DBCheckBox;
class DBComboBox;
class DBCtrlGrid;
class DBDateEdit;
class DBEdit;
class DBGrid;
class DBMemo;
class Table;
} // namespace vok

// The main window: the project tree on the left, and on the right the detail page of the
// selected project, major activity or action, whose tabs show the record, its team, notes,
// contacts, time sheets and cost entries. Records are added, edited in place and deleted here.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Binds the controls to the data module's record-sets. Start-up creates the main window
    // first and the data module second, then binds them.
    void setDataModule(ProjectData* dm);
    ProjectData* dm() const { return dm_; }
    // The windows and the copy data module that start-up creates beside the main window. A
    // command whose window is not given stays hidden.
    void setMemberList(MemberListWindow* memberList);
    void setContactWindow(ContactWindow* contactWindow);
    void setCopyModule(ProjectCopyTables* dm17);

    // Applies a caption set (0 English, 1 French, 2 Spanish, other English); set at start-up.
    // Until it is, the "Change language" menu stays hidden.
    std::function<void(int)> translateInterface;
    void setTranslateInterface(std::function<void(int)> apply);

    // ---- Main menu bar: the eight items and their sub-items. Windows of other folders connect
    // their handlers to these actions.
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

    // ---- Right-click menus of the tree, one per level, and of the contact cards.
    QMenu* ProjectPopup;
    QAction* AddProject1;
    QAction* AddMajor1;
    QAction* Deleteproject1;
    QAction* Copyproject1;
    QMenu* MajorPopup;
    QAction* AddMajor2;
    QAction* AddAction1;
    QAction* DeleteMajor1;
    QMenu* ActionPopup;
    QAction* AddAction2;
    QAction* DeleteAction1;
    // "Refresh" (F5), at the foot of each of the three menus: reads the tree and the page again.
    QAction* Refresh1;
    QMenu* PopupMenu1;
    QAction* Addcontact1;
    QAction* DeleteContact1;
    QAction* EditContact1;

    // ---- The tree and its lists.
    QGroupBox* GroupBox1;
    QTreeWidget* TreeView1;
    QLabel* PrintProject;
    // One node identity string per tree node ("12", "12,3", "12,3,5"), by absolute index. The
    // tree makes a project's nodes when it comes into view; these lists make every one first,
    // reading the whole folder: for scripts and tests, not for the window's own work.
    QStringList ProjectList() const;
    // One status per node, in step with ProjectList: "1" completed, "2" critical, "0" otherwise.
    QStringList CriticalList() const;
    // The key parts of the node being acted on.
    QStringList idstrings;

    // ---- The three detail pages; each tab in order.
    QTabWidget* ProjectPageControl;
    QWidget* TabSheet1;  // "Project"
    QWidget* TabSheet2;  // "Team Members"
    QWidget* TabSheet8;  // "Notes"
    QWidget* TabSheet10; // "Contacts"
    QWidget* TabSheet9;  // "Time Sheets"
    QWidget* TabSheet11; // "Cost entries"
    QTabWidget* MajorPageControl;
    QWidget* TabSheet4;  // "Major Activity"
    QWidget* TabSheet5;  // "Team Members"
    QWidget* TabSheet12; // "Notes"
    QWidget* TabSheet3;  // "Time Sheets"
    QWidget* TabSheet13; // "Cost entries"
    QTabWidget* ActionPageControl;
    QWidget* TabSheet7;  // "Action"
    QWidget* TabSheet14; // "Team Members"
    QWidget* TabSheet15; // "Notes"
    QWidget* TabSheet6;  // "Time Sheets"
    QWidget* TabSheet16; // "Cost entries"

    // ---- Record tabs. Project: Label2 "Project Name" DBEdit2, Label3 "Objectives" DBMemo1,
    // DBCheckBox1 "Completed", Label4 "Start date" DBEdit3 SDLabel3, Label5 "End date" DBEdit4
    // SDLabel4, Label6 "Project leader" DBLookupComboBox1, Label7 "Client" DBEdit5, Label9
    // "% Complete" DBEdit6, Label10 "Actual hours" DBEdit7, Label11 "Actual costs" DBEdit1,
    // SpeedButton6 "Word document", Button5 "Ok", Button6 "Cancel".
    RecordTab* ProjectRecord;
    QLabel *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label9, *Label10, *Label11;
    vok::DBEdit* DBEdit2;
    vok::DBMemo* DBMemo1;
    vok::DBCheckBox* DBCheckBox1;
    vok::DBDateEdit* DBEdit3;
    vok::DBDateEdit* DBEdit4;
    vok::DBComboBox* DBLookupComboBox1;
    vok::DBEdit *DBEdit5, *DBEdit6, *DBEdit7, *DBEdit1;
    QToolButton* SpeedButton6;
    QPushButton *Button5, *Button6;
    // Major activity: Label12 "Major Name" DBEdit8, Label13 "Objectives" DBMemo2, DBCheckBox2
    // "Critical", DBCheckBox3 "Completed", Label14 "Start date" DBEdit9 SDLabel1, Label16 "End
    // date" DBEdit10 SDLabel2, Label17 "Major leader" DBLookupComboBox2, Label18 "% Complete"
    // DBEdit11, Label20 "Actual hours" DBEdit12, Label21 "Actual costs" DBEdit14, SpeedButton8,
    // Button3 "Ok", Button4 "Cancel".
    RecordTab* MajorRecord;
    QLabel *Label12, *Label13, *Label14, *Label16, *Label17, *Label18, *Label20, *Label21;
    vok::DBEdit* DBEdit8;
    vok::DBMemo* DBMemo2;
    vok::DBCheckBox *DBCheckBox2, *DBCheckBox3;
    vok::DBDateEdit *DBEdit9, *DBEdit10;
    vok::DBComboBox* DBLookupComboBox2;
    vok::DBEdit *DBEdit11, *DBEdit12, *DBEdit14;
    QToolButton* SpeedButton8;
    QPushButton *Button3, *Button4;
    // Action: Label15 "Action Name" DBEdit13, Label22 "Objectives" DBMemo3, DBCheckBox4
    // "Critical", DBCheckBox5 "Completed", Label23 "Start date" DBEdit15 SDLabel5, Label26 "End
    // date" DBEdit16 SDLabel6, Label19 "Action Leader" DBLookupComboBox3, Label27 "% Complete"
    // DBEdit17, Label30 "Actual hours" DBEdit18, Label31 "Actual costs" DBEdit19, SpeedButton7,
    // Button1 "Ok", Button2 "Cancel".
    RecordTab* ActionRecord;
    QLabel *Label15, *Label22, *Label23, *Label26, *Label19, *Label27, *Label30, *Label31;
    vok::DBEdit* DBEdit13;
    vok::DBMemo* DBMemo3;
    vok::DBCheckBox *DBCheckBox4, *DBCheckBox5;
    vok::DBDateEdit *DBEdit15, *DBEdit16;
    vok::DBComboBox* DBLookupComboBox3;
    vok::DBEdit *DBEdit17, *DBEdit18, *DBEdit19;
    QToolButton* SpeedButton7;
    QPushButton *Button1, *Button2;
    // The short date pattern beside the date fields.
    QLabel* SDLabel1;
    QLabel* SDLabel2;
    QLabel* SDLabel3;
    QLabel* SDLabel4;
    QLabel* SDLabel5;
    QLabel* SDLabel6;

    // ---- Team tabs: grids with the columns "Member" (pick list), "Email" ("email" on the
    // action grid) and "Telephone"; "Member Email" buttons.
    vok::DBGrid* DBGrid3;      // project
    vok::DBGrid* DBGrid2;      // major activity
    vok::DBGrid* DBGrid1;      // action
    QToolButton* SpeedButton1; // project
    QToolButton* SpeedButton3; // major activity
    QToolButton* SpeedButton2; // action

    // ---- Notes, time-sheet and cost lists, contact cards. The captions inside the time-sheet
    // and cost panels repeat in every panel under one object name ("From date" Label28, Label1,
    // Label41 and Label24, Label37, Label44; "To date" Label29, Label8, Label42 and Label25,
    // Label38, Label45; "Hours" Label32, Label34, Label36; "Member" Label33, Label35, Label39;
    // "Amount" Label40, Label43, Label46 for project, major activity and action): change them
    // with DBCtrlGrid::setLineCaption.
    vok::DBCtrlGrid* ProjectNotesGrid;
    vok::DBCtrlGrid* MajorNotesGrid;
    vok::DBCtrlGrid* ActionNotesGrid;
    vok::DBCtrlGrid* DBCtrlGrid1; // project time sheets
    vok::DBCtrlGrid* DBCtrlGrid2; // major activity time sheets
    vok::DBCtrlGrid* DBCtrlGrid3; // action time sheets
    vok::DBCtrlGrid* DBCtrlGrid5; // project cost entries
    vok::DBCtrlGrid* DBCtrlGrid6; // major activity cost entries
    vok::DBCtrlGrid* DBCtrlGrid7; // action cost entries
    vok::DBCtrlGrid* DBCtrlGrid4; // contact cards
    QToolButton* SpeedButton4;    // "Contact Email"
    QToolButton* SpeedButton5;    // "Word document"
    QToolButton* SpeedButton9;    // "Print list"

    // The pick list of the "Member" column of DBGrid3, DBGrid2 or DBGrid1 (grid 3, 2 or 1).
    QStringList memberPickList(int grid) const;
    // Sets the three pick lists to every Member_name of Members, in the table's order.
    void refillMemberPickLists();

    // The node with that identity string (made if its project's nodes were not made yet), and
    // the absolute index of a node (its entry in ProjectList: the nodes before it in depth-first
    // order, collapsed ones counted).
    QTreeWidgetItem* findNode(const QString& id) const;
    int nodeIndex(const QTreeWidgetItem* item) const;
    // The identity string of the selected tree node ("12,3"), empty when none is selected.
    QString selectedNode() const;
    // Selects the node with that identity string and acts on it at once; false when the tree
    // has no such node.
    bool selectNode(const QString& id);
    // Node positioning for the selected node, as far as `parts` key parts (1 to 3) go: fills
    // idstrings and looks up projects, Major and Action. False when no node is selected, or
    // when its record is no longer stored (the cursors are then on other records).
    bool positionOnSelectedNode(int parts = 3);
    // Whether a level is adding a new record (its Ok button shows).
    bool isAdding() const;
    // The right-click menu of the tree: that of the level of the last selected node.
    QMenu* attachedPopup() const { return attachedPopup_; }

public Q_SLOTS:
    // First activation: settings, connection, tables, pick lists, language, tree. Runs once.
    void FormActivate();
    // Rebuilds the tree, ProjectList and CriticalList from the tables.
    void LoadTree();
    void TreeView1Change();
    void ProjectPageControlChange();
    void MajorPageControlChange();
    void ActionPageControlChange();
    void AddProject1Click();
    void AddMajor1Click();
    void AddAction1Click();
    void Button5Click();
    void Button6Click();
    void Button3Click();
    void Button4Click();
    void Button1Click();
    void Button2Click();
    void Deleteproject1Click();
    void DeleteMajor1Click();
    void DeleteAction1Click();
    void DBEdit2Change();
    void DBEdit8Change();
    void DBEdit13Change();
    void DBEdit2Exit();
    void DBEdit8Exit();
    void DBEdit13Exit();
    void Exit1Click();
    // Reads the tables again, rebuilds the tree and shows the node that was selected.
    void Refresh1Click();
    void Copyproject1Click();
    void Memberslist1Click();
    // "Member Email" on the three team tabs: mail to the selected node's team.
    void SpeedButton1Click();
    // "Contact Email"
    void SpeedButton4Click();
    void Addcontact1Click();
    void EditContact1Click();
    void DBCtrlGrid4DblClick();
    void DeleteContact1Click();
    // "Word document" on the project, major activity and action tabs and the contacts tab.
    void SpeedButton6Click();
    void SpeedButton8Click();
    void SpeedButton7Click();
    void SpeedButton5Click();
    void Helpfiles1Click();
    void Emailusforhelp1Click();
    void Emailustobuysourcecode1Click();
    void English1Click();
    void Franais1Click();
    void Espagnol1Click();

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // What differs between the three levels.
    struct Level {
        QTabWidget* page = nullptr;
        RecordTab* record = nullptr;
        QWidget* timeSheetTab = nullptr;
        QWidget* costTab = nullptr;
        QMenu* popup = nullptr;
        vok::Table* table = nullptr;
        vok::Table* timeSheets = nullptr;
        vok::Table* costs = nullptr;
    };
    enum LevelIndex { ProjectLevel = 0, MajorLevel = 1, ActionLevel = 2 };

    void buildMenus();
    void buildTree();
    void buildPages();
    QTabWidget* buildPage(const char* name);
    QWidget* addTab(QTabWidget* page, const char* name, const QString& caption);
    vok::DBGrid* buildTeamTab(QWidget* tab, const char* gridName, const char* prefix,
                              const char* emailTitle, QToolButton*& mailButton,
                              const char* mailName);
    vok::DBCtrlGrid* buildNotesTab(QWidget* tab, const char* gridName, const char* noteField);
    vok::DBCtrlGrid* buildTimeSheetTab(QWidget* tab, const char* gridName,
                                       std::array<const char*, 4> labelNames);
    vok::DBCtrlGrid* buildCostTab(QWidget* tab, const char* gridName,
                                  std::array<const char*, 3> labelNames);
    void buildContactsTab(QWidget* tab);
    void bindControls();

    void firstActivation();
    bool shown_ = false;
    bool connectionTried_ = false;
    void hidePages();
    void showPage(int level, bool keepTab = false);
    void pageChanged(int level);
    void setBusy(bool busy);
    void startAdding(int level);
    void finishAdding(int level, bool store);
    void postRecord(int level);
    void renameNode(int level);
    void deleteNode(int level);
    void showContact(bool adding);
    void openDocument(int kind);
    // Hands a text to the desktop's opener; says so when nothing could open it.
    void openWithShell(const QString& target);
    void updateCommands();
    // Stores every pending edit. One that cannot be stored is explained and the user chooses:
    // false to go back to it (kept as typed), or it is dropped. False also when no data.
    bool storePendingEdits();
    // Exit's work before the window closes: pending edits stored, the tables and the connection
    // closed. False when the user goes back to an edit that could not be stored.
    bool closeData();
    // Re-reads the record of the shown level; a record another installation deleted is said
    // and the tree rebuilt. False then.
    bool rereadRecord(int level);
    void nodeGone();
    QString recordId(int level) const;
    void showPopup(const QPoint& pos);
    // A tooltip with the whole name of a node the tree's edge cuts; false for a name shown
    // whole (the tree's own tooltip then).
    bool showCutName(const QHelpEvent* event);

    ProjectData* dm_ = nullptr;
    MemberListWindow* form3_ = nullptr;
    ContactWindow* form15_ = nullptr;
    ProjectCopyTables* dm17_ = nullptr;
    std::array<Level, 3> levels_;
    QMenu* attachedPopup_ = nullptr;
    ProjectTree* tree_ = nullptr; // the nodes, made as they come into view
    QTimer* selectionTimer_ = nullptr;
};

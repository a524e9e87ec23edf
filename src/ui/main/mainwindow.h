#pragma once

#include "summarydocument.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <array>
#include <functional>
#include <memory>

class ChangeHistory;
class ContactWindow;
class EditMenu;
class LiveUpdate;
class DetailPage;
class MemberListWindow;
class ProjectCopyTables;
class ProjectData;
class StartupSequence;
class TreeController;
class TreeFind;
class TreeSplitter;

// The main window: the project tree on the left, and on the right the detail page of the
// selected project, major activity or action, whose tabs show the record, its team, notes,
// contacts, time sheets and cost entries. The window holds the menus and the commands; the tree
// and what follows its selection are the tree controller's, the tabs the pages'.
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
    void setCopyModule(ProjectCopyTables* copies);

    // Applies a caption set (0 English, 1 French, 2 Spanish, other English); set at start-up.
    // Until it is, the "Change language" menu stays hidden.
    std::function<void(int)> translateInterface;
    void setTranslateInterface(std::function<void(int)> apply);

    // ---- Main menu bar: the eight items and their sub-items. Windows of other folders connect
    // their handlers to these actions.
    QAction* addProjectAction;
    QAction* memberListAction;
    QMenu* timeSheetMenu;
    QAction* timeSheetEntryAction;
    QAction* weekEntryAction;
    QAction* updateTimeSheetsAction;
    QMenu* costSheetMenu;
    QAction* costEntryAction;
    QAction* updateCostEntriesAction;
    QMenu* reportMenu;
    QAction* printTimeLineAction;
    QAction* printProjectAction;
    QAction* printLayoutAction;
    QAction* printTimeSheetsAction;
    QAction* printCostsAction;
    QAction* printBudgetAction;
    QMenu* languageMenu;
    QAction* englishAction;
    QAction* frenchAction;
    QAction* spanishAction;
    QMenu* helpMenu;
    QAction* helpFilesAction;
    QAction* mailForHelpAction;
    QAction* buySourceCodeAction;
    QAction* exitAction;

    // ---- Right-click menus of the tree, one per level, and of the contact cards. On a major
    // activity or action node, "Add Major" and "Add Action" add a sibling.
    QMenu* projectMenu;
    QAction* newProjectAction;
    QAction* addMajorAction;
    QAction* deleteProjectAction;
    QAction* copyProjectAction;
    QMenu* majorMenu;
    QAction* addSiblingMajorAction;
    QAction* addActionAction;
    QAction* deleteMajorAction;
    QMenu* actionMenu;
    QAction* addSiblingActionAction;
    QAction* deleteActionAction;
    // "Refresh" (F5), at the foot of each of the three menus: reads the tree and the page again.
    QAction* refreshAction;
    QMenu* contactMenu;
    QAction* addContactAction;
    QAction* deleteContactAction;
    QAction* editContactAction;

    // ---- The Edit menu: Undo and Redo of the window's history of changes, and Find.
    EditMenu* editMenu;

    // ---- The tree in its box under Find's field, and the three detail pages, one over the
    // other, beside it across a line the user drags.
    QGroupBox* treeBox;
    TreeController* tree;
    TreeFind* treeFind;
    TreeSplitter* splitter;
    DetailPage* projectPage;
    DetailPage* majorPage;
    DetailPage* actionPage;
    std::array<DetailPage*, 3> pages() const { return {projectPage, majorPage, actionPage}; }
    // Hidden: the name of the project a print dialog chose, read by the project filter.
    QLabel* printProjectLabel;

    // First activation: settings, connection, tables, pick lists, language, tree.
    StartupSequence* startup;
    // Other installations' changes shown as they are stored; started by the first activation.
    LiveUpdate* liveUpdate;

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void connectCommands();
    void updateCommands();
    void setBusy(bool busy);
    // A history of changes for the data module (and the copy module) set now, the one before
    // forgotten.
    void keepHistory();

    void showMemberList();
    void showContact(bool adding);
    void deleteContact();
    // "Member Email" on the three team tabs: mail to the selected node's team.
    void mailTeam();
    void mailContact();
    void openDocument(SummaryDocument::Kind kind);
    void openHelp();
    // Hands a text to the desktop's opener; says so when nothing could open it.
    void openWithShell(const QString& target);
    void translate(int index);
    // Stores every pending edit. One that cannot be stored is explained and the user chooses:
    // false to go back to it (kept as typed), or it is dropped. False also when no data.
    bool storePendingEdits();
    // Exit's work before the window closes: pending edits stored, the tables and the connection
    // closed. False when the user goes back to an edit that could not be stored.
    bool closeData();

    bool shown_ = false;
    ProjectData* dm_ = nullptr;
    MemberListWindow* memberList_ = nullptr;
    ContactWindow* contactWindow_ = nullptr;
    ProjectCopyTables* copies_ = nullptr;
    std::unique_ptr<ChangeHistory> history_;
};

#pragma once

#include <QObject>
#include <QStringList>
#include <QTreeWidget>
#include <array>

class DetailPage;
class ProjectCopyTables;
class ProjectData;
class ProjectTree;
class QGroupBox;
class QHelpEvent;
class QMenu;
class QTimer;

// The project tree of the main window and what follows its selection: the detail page of the
// selected node, read again from the store; adding, editing in place, deleting and copying
// records, each leaving the tree on the node it concerns; node captions following a name being
// typed; Refresh. The nodes themselves are made lazily by ProjectTree.
class TreeController : public QObject {
    Q_OBJECT
public:
    // Builds the tree view in `box`.
    TreeController(QGroupBox* box, QObject* parent);
    // The three detail pages (project, major activity, action) the selection shows.
    void setPages(const std::array<DetailPage*, 3>& pages);

    void setDataModule(ProjectData* dm);
    // The right-click menus of the three levels; the project's is attached first.
    void setPopups(const std::array<QMenu*, 3>& popups);
    QTreeWidget* view() const { return view_; }

    // Rebuilds the tree from the tables; no node is selected after.
    void loadTree();
    // One node identity string per tree node ("12", "12,3", "12,3,5"), by absolute index. The
    // tree makes a project's nodes when it comes into view; these lists make every one first,
    // reading the whole folder: for scripts and tests, not for the window's own work.
    QStringList projectList() const;
    // One status per node, in step with projectList: "1" completed, "2" critical, "0" otherwise.
    QStringList criticalList() const;
    // The key parts of the node being acted on.
    QStringList idstrings;

    // The node with that identity string (made if its project's nodes were not made yet), and
    // the absolute index of a node (its entry in projectList: the nodes before it in depth-first
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
    // Shows the page of the selected node, its record read again.
    void showSelectedNode();
    // Whether a level is adding a new record (its Ok button shows).
    bool isAdding() const;
    // The right-click menu of the tree: that of the level of the last selected node.
    QMenu* attachedPopup() const { return attachedPopup_; }

    // A new record of a level (0 project, 1 major activity, 2 action) on its page, under the
    // selected node's parent; Ok stores it and selects its node, Cancel drops it.
    void startAdding(int level);
    void finishAdding(int level, bool store);
    // Deletes the selected node's record and everything under it, after asking.
    void deleteNode(int level);
    // Copies the selected node's project and selects the copy.
    void copyProject(ProjectCopyTables& copies);
    // Reads the tables again, rebuilds the tree and shows the node that was selected.
    void refresh();
    // Sets the team grids' pick lists to every Member_name of Members, in the table's order.
    void refillMemberPickLists();

    // How far reading again what the window shows went.
    enum class Reading { Done, RecordOnly, Waiting };
    // After another installation stored: the shown record, the lists on its page and the tree
    // read again in place, the selected node, the tab in front, the open nodes and the tree's
    // scroll position kept. Never over the user's hands: while something is being typed, only
    // the shown record's fields the user is not in are read (when `record`), and the rest waits
    // (RecordOnly); while a record is added, a delete runs or a selection is pending, nothing is
    // read (Waiting).
    Reading readAgainWhatShows(bool record);

Q_SIGNALS:
    // While a record is added or deleted, the commands that would leave it wait.
    void busyChanged(bool busy);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void hidePages();
    void setBusy(bool busy);
    void postRecord(int level);
    void renameNode(int level);
    // Re-reads the record of the shown level; a record another installation deleted is said
    // and the tree rebuilt. False then.
    bool rereadRecord(int level);
    void nodeGone();
    void showPopup(const QPoint& pos);
    // A tooltip with the whole name of a node the tree's edge cuts; false for a name shown
    // whole (the tree's own tooltip then).
    bool showCutName(const QHelpEvent* event);

    std::array<DetailPage*, 3> pages_{};
    std::array<QMenu*, 3> popups_{};
    QTreeWidget* view_;
    ProjectTree* tree_;
    QTimer* selectionTimer_;
    ProjectData* dm_ = nullptr;
    QMenu* attachedPopup_ = nullptr;
};

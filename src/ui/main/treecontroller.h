#pragma once

#include <QObject>
#include <QStringList>
#include <QTreeWidget>
#include <array>

class ChangeHistory;
class DetailPage;
namespace vok {
class DatabaseError;
}
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
    // Shows the page of the selected node, its record read again. What was typed on the page
    // showing is stored first; where it cannot be, the user is told there and the tree goes
    // back to its node.
    void showSelectedNode();
    // The identity string of the node whose page shows; empty when none shows.
    const QString& shownNode() const { return shown_; }
    // Whether a level is adding a new record (its Ok button shows).
    bool isAdding() const;
    // Whether a control of the page showing holds a text its field refused. Then the user is
    // told (once since leaving it) and taken back to it: its node selected, its record tab in
    // front, the focus in it. A command that would store or replace the record asks first, and
    // does nothing on true.
    bool holdsRefusedText();
    // The right-click menu of the tree: that of the level of the node selected at this moment
    // (the project menu while none is).
    QMenu* attachedPopup() const;

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

    // The history that deleting and copying write their steps to (null: none is kept).
    void setHistory(ChangeHistory* history) { history_ = history; }
    // Before an undo or a redo: what was typed on the page showing is stored; false when the
    // user stays on it.
    bool leaveShownPage() { return leaveShown(); }
    // After an undo or a redo: the tree read again and the node shown (a node gone: its nearest
    // parent still stored; none: no page).
    void showAfterChange(const QString& id);
    // Only the nodes whose names hold the text show, with their parents, and the first of them
    // is selected; no text: the whole tree again, on the node that was selected.
    void filter(const QString& text);
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
    // How storing the record of a page ended.
    enum class Stored { Yes, Refused, Gone };

    DetailPage* shownPage() const;
    void hidePages();
    void setBusy(bool busy);
    // Stores what was typed into a level's record. Where another installation changed the same
    // fields, the user chooses: keep what was typed (stored over theirs) or take theirs. A
    // refusal is said; a record another installation deleted goes the node-gone way.
    Stored storeRecord(int level);
    // The same for the page showing, before the tree or the page moves away from it.
    Stored storeShown();
    // Asks whether what was typed is kept over what another installation stored meanwhile.
    static bool keepTyped(const vok::DatabaseError& clash);
    // Before a command replaces the page showing: false when the user stays on it (a refused
    // text, a record that cannot be stored, a record found gone).
    bool leaveShown();
    // The tree back on the node whose page shows, when the selection left it.
    void backToShown();
    // The node of the page showing named as its record is stored (after typing was dropped).
    void showStoredName(int level);
    QString nodeText(const QString& id) const;
    void postRecord(int level);
    void renameNode(int level);
    // Escape on a record tab: the record as stored, or the new record dropped.
    void dropTyped(int level);
    // Re-reads the record of the shown level; false when another installation deleted it (the
    // node-gone way is taken).
    bool rereadRecord(int level);
    // A record-set found its current record deleted by another installation.
    void recordGone(int level, bool typedLost);
    // Takes the node-gone way for what recordGone noted, if anything.
    void settleGone();
    // The node-gone way: the tree is read again and the selection, or else the nearest stored
    // parent of the node, shows; the user is told that the node is gone (and what was typed into
    // it with it).
    void nodeGone(const QString& id, const QString& name, bool typedLost);
    void showPopup(const QPoint& pos);
    // A tooltip with the whole name of a node the tree's edge cuts; false for a name shown
    // whole (the tree's own tooltip then).
    bool showCutName(const QHelpEvent* event);

    std::array<DetailPage*, 3> pages_{};
    std::array<QMenu*, 3> popups_{};
    QTreeWidget* view_;
    QWidget* viewport_ = nullptr; // the view's, which it owns
    ProjectTree* tree_;
    QTimer* selectionTimer_;
    ProjectData* dm_ = nullptr;
    QString shown_;
    QString goneId_; // noted by recordGone, until settled
    QString goneName_;
    bool goneTypedLost_ = false;
    ChangeHistory* history_ = nullptr;
};

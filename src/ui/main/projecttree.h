#pragma once

#include <QHash>
#include <QObject>
#include <QStringList>

class QTreeWidget;
class QTreeWidgetItem;
class ProjectData;

// The nodes of the main window's project tree, made as they come into view: a rebuild makes one
// node per project; a project's major activities and their actions are read and made when the
// project is reached (scrolled or sized into view) or opened, and a project reached for the
// first time opens one level. So the tree costs what it shows, not what the folder holds.
//
// The children are read without moving the data module's record-sets, which stay on the record
// the pages show. Each node carries its identity ("12", "12,3", "12,3,5") and its status ("1"
// completed, shown green; "2" critical and not completed, shown red; "0" otherwise). A node
// whose actual hours or costs are beyond its budget shows a warning mark, with a tooltip saying
// so.
class ProjectTree : public QObject {
    Q_OBJECT
public:
    explicit ProjectTree(QTreeWidget* tree);

    // The tree follows its record-sets: a stored change of the selected node's budgets or
    // actuals marks it over budget, or not, at once.
    void setDataModule(ProjectData* dm);

    // Removes every node.
    void clear();
    // Makes the project nodes from the rows of the projects record-set, and the children of
    // those in view. The record-sets do not move.
    void load();
    // The node with that identity, its project's children made first; null when there is none.
    QTreeWidgetItem* find(const QString& id);
    static QString idOf(const QTreeWidgetItem* item);
    static QString statusOf(const QTreeWidgetItem* item);
    static bool isOverBudget(const QTreeWidgetItem* item);

    // Every node's identity and status in depth-first order, the children of every project made
    // first: this reads every level of the folder (for scripts and tests).
    QStringList allIds();
    QStringList allStatuses();

    // Makes the children of the projects in view that have none yet, and opens them.
    void fillView();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Node {
        QString id;
        QString caption;
        QString status;
        qlonglong key = 0;
        bool over = false;
    };
    QTreeWidgetItem* makeItem(const Node& node) const;
    void markOver(QTreeWidgetItem* item, bool over) const;
    // After a level's record-set changed: the selected node's mark, when it is that record's.
    void remark(int level);
    // The major activities of a project, and its actions by major activity, in the tables'
    // order.
    QList<Node> majorsOf(const QString& projectId, qlonglong project) const;
    QHash<qlonglong, QList<Node>> actionsOf(const QString& projectId, qlonglong project) const;
    QList<Node> projects() const;
    // Makes a project's children once; false when they were made before.
    bool makeChildren(QTreeWidgetItem* project);
    QStringList all(int role);

    QTreeWidget* tree_;
    QWidget* viewport_; // the tree's, which it owns
    ProjectData* dm_ = nullptr;
    QHash<qlonglong, QTreeWidgetItem*> projectNodes_;
    bool filling_ = false;
};

#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <functional>
#include <vector>

namespace vok {
struct TableRow;
}
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
    // Shows again, in place, what the tables hold: project nodes come, go, are renamed and
    // re-marked as the projects record-set now holds them (read again by the caller); the
    // children of the projects open in view are read again, those of the others when they next
    // open or come into view. The nodes kept keep their state (open, current), and the node at
    // the top of the view stays there. The caller sees first that the current node is still
    // stored.
    void readAgain();

    // From the next load on, only the nodes whose name holds `text` (letter case and accents
    // aside) show, with their parents, opened down to them; empty text: every node. The engine
    // finds the projects concerned; their nodes are made as they come into view, as ever.
    void setFilter(const QString& text) { filter_ = text.trimmed(); }
    const QString& filter() const { return filter_; }
    // The first node in the tree's order whose own name holds the filter's text; null when none
    // does or there is no filter.
    QTreeWidgetItem* firstMatch();

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
    // Gives a node the caption, identity, status and over-budget mark of a record.
    void setNode(QTreeWidgetItem* item, const Node& node) const;
    // Makes the children of `parent` the nodes wanted, in the same order: those there already
    // stay as they are, with their state and their own children; `each` sees every child,
    // `made` telling a new one.
    void syncChildren(QTreeWidgetItem* parent, const QList<Node>& wanted,
                      const std::function<void(QTreeWidgetItem*, const Node&, bool made)>& each);
    // Reads projects' children again into the nodes there.
    void readChildren(const QList<QTreeWidgetItem*>& projects);
    // A project whose children were made before the last readAgain() and not read since reads
    // them now; false when they are as read.
    bool freshen(QTreeWidgetItem* project);
    // readAgain() but for the projects that come into view.
    void syncProjects();
    // The projects with a row (their own or a child's) in view.
    QSet<const QTreeWidgetItem*> projectsInView() const;
    // Nodes by the identity of their parent ("12" for major activities, "12,3" for actions),
    // in the tables' order.
    using Children = QHash<QString, QList<Node>>;
    Children childrenOf(const std::vector<vok::TableRow>& majors,
                        const std::vector<vok::TableRow>& actions) const;
    QList<Node> projects() const;
    // Makes a project's children once; false when they were made before.
    bool makeChildren(QTreeWidgetItem* project);
    QStringList all(int role);

    bool matches(const QString& name) const;

    QTreeWidget* tree_;
    QWidget* viewport_; // the tree's, which it owns
    ProjectData* dm_ = nullptr;
    QString filter_;
    QHash<qlonglong, QTreeWidgetItem*> projectNodes_;
    bool filling_ = false;
};

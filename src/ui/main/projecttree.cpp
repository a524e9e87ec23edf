#include "projecttree.h"

#include "data/nodefigures.h"
#include "data/nodesearch.h"
#include "data/projectdata.h"
#include "framework/io/showntext.h"

#include <QColor>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScopedValueRollback>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QStyle>
#include <QTreeWidget>
#include <algorithm>
#include <array>
#include <functional>
#include <memory>

namespace {

constexpr int IdRole = Qt::UserRole;
constexpr int StatusRole = Qt::UserRole + 1;
// Set on a project node whose children have not been made yet.
constexpr int PendingRole = Qt::UserRole + 2;
// Set on a project node whose children were made before the tables were last read again.
constexpr int StaleRole = Qt::UserRole + 3;
constexpr int OverRole = Qt::UserRole + 4;

const QString statusCodes[] = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")};

const QString& status(bool done, bool critical) {
    return statusCodes[done ? 1 : (critical ? 2 : 0)];
}

bool flag(const QVariant& stored) {
    return stored.toLongLong() != 0;
}

// Whether a level's rows are over budget, by the positions of the fields that say so.
class BudgetColumns {
public:
    BudgetColumns(const vok::Table& t, int level) : level_(level) {
        const NodeFigures::Fields& f = NodeFigures::fields(level);
        names_ = {f.budgetHours, f.hours, f.budget, f.actual};
        for (size_t i = 0; i < names_.size(); ++i)
            columns_[i] = t.fieldByName(QLatin1String(names_[i])).index();
    }
    bool over(const std::function<QVariant(int column)>& value) const {
        // The names asked for are the very ones held: found by address, with no text made.
        const auto [hours, costs] = NodeFigures::uses(level_, [&](const char* field) {
            const auto at = std::find(names_.begin(), names_.end(), field);
            return value(columns_[static_cast<size_t>(at - names_.begin())]);
        });
        return NodeFigures::overBudget(hours, costs);
    }

private:
    int level_;
    std::array<const char*, 4> names_{};
    std::array<int, 4> columns_{};
};

} // namespace

ProjectTree::ProjectTree(QTreeWidget* tree)
    : QObject(tree), tree_(tree), viewport_(tree->viewport()) {
    viewport_->installEventFilter(this);
    connect(tree_->verticalScrollBar(), &QScrollBar::valueChanged, this, &ProjectTree::fillView);
    connect(tree_, &QTreeWidget::itemCollapsed, this, &ProjectTree::fillView);
    connect(tree_, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        if (!item->parent() && !makeChildren(item))
            freshen(item);
    });
}

bool ProjectTree::eventFilter(QObject* watched, QEvent* event) {
    // Compared, never asked of the tree: the viewport's last events come while the tree is
    // being destroyed.
    if (watched == viewport_ &&
        (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        fillView();
    return QObject::eventFilter(watched, event);
}

QString ProjectTree::idOf(const QTreeWidgetItem* item) {
    return item ? item->data(0, IdRole).toString() : QString();
}

QString ProjectTree::statusOf(const QTreeWidgetItem* item) {
    return item ? item->data(0, StatusRole).toString() : QString();
}

void ProjectTree::setDataModule(ProjectData* dm) {
    dm_ = dm;
    if (!dm_)
        return;
    const vok::Table* const levels[] = {dm_->projects, dm_->Major, dm_->Action};
    for (int level = 0; level < 3; ++level)
        connect(levels[level], &vok::Table::dataChanged, this, [this, level] { remark(level); });
}

bool ProjectTree::isOverBudget(const QTreeWidgetItem* item) {
    return item && item->data(0, OverRole).toBool();
}

void ProjectTree::markOver(QTreeWidgetItem* item, bool over) const {
    if (isOverBudget(item) == over)
        return;
    item->setData(0, OverRole, over);
    item->setIcon(0, over ? tree_->style()->standardIcon(QStyle::SP_MessageBoxWarning) : QIcon());
    item->setToolTip(0, over ? QCoreApplication::translate("Form1", "Over budget") : QString());
}

void ProjectTree::remark(int level) {
    QTreeWidgetItem* item = tree_->currentItem();
    vok::Table* const tables[] = {dm_->projects, dm_->Major, dm_->Action};
    const vok::Table& t = *tables[level];
    if (!item || !t.isActive() || t.isEmpty() || t.isEditing())
        return;
    QStringList key;
    for (const char* f : NodeFigures::fields(level).key) {
        if (f)
            key << t.fieldByName(QLatin1String(f)).asString();
    }
    if (idOf(item) != key.join(QLatin1Char(',')))
        return;
    const BudgetColumns columns(t, level);
    markOver(item, columns.over([&](int column) { return t.field(column).value(); }));
}

QTreeWidgetItem* ProjectTree::makeItem(const Node& node) const {
    auto* item = new QTreeWidgetItem;
    setNode(item, node);
    return item;
}

void ProjectTree::setNode(QTreeWidgetItem* item, const Node& node) const {
    // Control and direction characters show as escapes: a name cannot disguise itself.
    const QString caption = vok::ShownText::escaped(node.caption);
    if (item->text(0) != caption)
        item->setText(0, caption);
    item->setData(0, IdRole, node.id);
    markOver(item, node.over);
    if (item->data(0, StatusRole).toString() == node.status)
        return;
    item->setData(0, StatusRole, node.status);
    if (node.status == QLatin1String("1"))
        item->setForeground(0, QColor(0x00, 0x80, 0x00)); // completed: green
    else if (node.status == QLatin1String("2"))
        item->setForeground(0, QColor(0xc0, 0x00, 0x00)); // critical: red
    else
        item->setData(0, Qt::ForegroundRole, QVariant());
}

QList<ProjectTree::Node> ProjectTree::projects() const {
    QList<Node> out;
    if (!dm_ || !dm_->projects->isActive())
        return out;
    const vok::Table& t = *dm_->projects;
    const int id = t.fieldByName(QStringLiteral("Zel_Project_id")).index();
    const int name = t.fieldByName(QStringLiteral("Zel_project")).index();
    const int done = t.fieldByName(QStringLiteral("Zel_completed")).index();
    const BudgetColumns budget(t, 0);
    const int count = t.recordCount();
    out.reserve(count);
    for (int row = 0; row < count; ++row) {
        const qlonglong key = t.valueAt(row, id).toLongLong();
        out.append({QString::number(key), t.valueAt(row, name).toString(),
                    status(flag(t.valueAt(row, done)), false), key,
                    budget.over([&](int column) { return t.valueAt(row, column); })});
    }
    return out;
}

ProjectTree::Children ProjectTree::childrenOf(const std::vector<vok::TableRow>& majors,
                                              const std::vector<vok::TableRow>& actions) const {
    Children out;
    {
        const vok::Table& t = *dm_->Major;
        const int project = t.fieldByName(QStringLiteral("Major_project_id")).index();
        const int id = t.fieldByName(QStringLiteral("Major_id")).index();
        const int name = t.fieldByName(QStringLiteral("Major_item")).index();
        const int done = t.fieldByName(QStringLiteral("Major_completed")).index();
        const int critical = t.fieldByName(QStringLiteral("Major_critical")).index();
        const BudgetColumns budget(t, 1);
        for (const vok::TableRow& r : majors) {
            const QString parent = QString::number(r.values[project].toLongLong());
            const qlonglong key = r.values[id].toLongLong();
            out[parent].append({parent + QLatin1Char(',') + QString::number(key),
                                r.values[name].toString(),
                                status(flag(r.values[done]), flag(r.values[critical])), key,
                                budget.over([&](int column) { return r.values[column]; })});
        }
    }
    const vok::Table& t = *dm_->Action;
    const int project = t.fieldByName(QStringLiteral("Action_project_id")).index();
    const int major = t.fieldByName(QStringLiteral("Action_major_id")).index();
    const int id = t.fieldByName(QStringLiteral("Action_id")).index();
    const int name = t.fieldByName(QStringLiteral("Action_name")).index();
    const int done = t.fieldByName(QStringLiteral("Action_completed")).index();
    const int critical = t.fieldByName(QStringLiteral("Action_critical")).index();
    const BudgetColumns budget(t, 2);
    for (const vok::TableRow& r : actions) {
        const QString parent = QString::number(r.values[project].toLongLong()) + QLatin1Char(',') +
                               QString::number(r.values[major].toLongLong());
        const qlonglong key = r.values[id].toLongLong();
        out[parent].append({parent + QLatin1Char(',') + QString::number(key),
                            r.values[name].toString(),
                            status(flag(r.values[done]), flag(r.values[critical])), key,
                            budget.over([&](int column) { return r.values[column]; })});
    }
    return out;
}

void ProjectTree::clear() {
    projectNodes_.clear();
    tree_->clear();
}

bool ProjectTree::matches(const QString& name) const {
    return NodeSearch::matches(name, filter_);
}

void ProjectTree::load() {
    clear();
    QList<QTreeWidgetItem*> top;
    QList<Node> nodes = projects();
    if (!filter_.isEmpty() && dm_) {
        const QList<qlonglong> found = NodeSearch(*dm_->store).projects(filter_);
        const QSet<qlonglong> wanted(found.begin(), found.end());
        nodes.removeIf([&](const Node& n) { return !wanted.contains(n.key); });
    }
    top.reserve(nodes.size());
    projectNodes_.reserve(nodes.size());
    for (const Node& n : nodes) {
        QTreeWidgetItem* item = makeItem(n);
        // Whether it has children is known when they are made.
        item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
        item->setData(0, PendingRole, true);
        projectNodes_.insert(n.key, item);
        top << item;
    }
    tree_->addTopLevelItems(top);
    fillView();
}

bool ProjectTree::makeChildren(QTreeWidgetItem* project) {
    if (!project->data(0, PendingRole).toBool() || !dm_)
        return false;
    project->setData(0, PendingRole, QVariant());
    const QString projectId = idOf(project);
    const QVariantList key{projectId.toLongLong()};
    // The project's major activities, and its actions in one read.
    const Children children = childrenOf(dm_->Major->rangeOf(key), dm_->Action->rangeOf(key));
    QList<QTreeWidgetItem*> majors;
    QList<QTreeWidgetItem*> opened;
    for (const Node& m : children.value(projectId)) {
        // Filtered, by the names as the tree shows them: a major activity shows when its name
        // holds the text, or as the parent of an action whose name does, opened to show it.
        QList<QTreeWidgetItem*> actions;
        for (const Node& a : children.value(m.id)) {
            std::unique_ptr<QTreeWidgetItem> action(makeItem(a));
            if (filter_.isEmpty() || matches(action->text(0)))
                actions << action.release();
        }
        std::unique_ptr<QTreeWidgetItem> item(makeItem(m));
        if (!filter_.isEmpty() && actions.isEmpty() && !matches(item->text(0)))
            continue;
        QTreeWidgetItem* major = item.release();
        major->addChildren(actions);
        majors << major;
        if (!filter_.isEmpty() && !actions.isEmpty())
            opened << major;
    }
    project->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
    project->addChildren(majors);
    for (QTreeWidgetItem* major : std::as_const(opened))
        major->setExpanded(true);
    return true;
}

QTreeWidgetItem* ProjectTree::firstMatch() {
    if (filter_.isEmpty())
        return nullptr;
    for (int p = 0; p < tree_->topLevelItemCount(); ++p) {
        QTreeWidgetItem* project = tree_->topLevelItem(p);
        if (matches(project->text(0)))
            return project;
        makeChildren(project);
        for (int m = 0; m < project->childCount(); ++m) {
            QTreeWidgetItem* major = project->child(m);
            if (matches(major->text(0)))
                return major;
            for (int a = 0; a < major->childCount(); ++a) {
                if (matches(major->child(a)->text(0)))
                    return major->child(a);
            }
        }
    }
    return nullptr;
}

void ProjectTree::fillView() {
    if (filling_ || tree_->topLevelItemCount() == 0)
        return;
    filling_ = true;
    // Rows the view can show: while it is not on the screen yet, as many as the screen holds.
    const int rowHeight = std::max(1, tree_->fontMetrics().height());
    int height = tree_->viewport()->height();
    if (!tree_->isVisible()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            height = std::max(height, screen->availableGeometry().height());
    }
    const int rows = height / rowHeight + 2;
    QTreeWidgetItem* item = tree_->isVisible() ? tree_->itemAt(0, 0) : nullptr;
    if (!item)
        item = tree_->topLevelItem(0);
    for (int shown = 0; item && shown < rows; ++shown) {
        if (!item->parent() && makeChildren(item)) {
            // Reached for the first time: open one level, as a rebuilt tree shows its projects.
            item->setExpanded(true);
        } else if (!item->parent() && item->isExpanded()) {
            freshen(item);
        }
        item = tree_->itemBelow(item);
    }
    filling_ = false;
}

QTreeWidgetItem* ProjectTree::find(const QString& id) {
    const QStringList parts = id.split(QLatin1Char(','));
    bool ok = false;
    const qlonglong key = parts.value(0).toLongLong(&ok);
    QTreeWidgetItem* node = ok ? projectNodes_.value(key) : nullptr;
    if (!node || parts.size() > 3)
        return nullptr;
    if (!makeChildren(node))
        freshen(node);
    for (int level = 1; level < parts.size() && node; ++level) {
        const QString wanted = QStringList(parts.mid(0, level + 1)).join(QLatin1Char(','));
        QTreeWidgetItem* found = nullptr;
        for (int k = 0; k < node->childCount() && !found; ++k) {
            if (idOf(node->child(k)) == wanted)
                found = node->child(k);
        }
        node = found;
    }
    return node;
}

QStringList ProjectTree::all(int role) {
    QStringList out;
    for (int p = 0; p < tree_->topLevelItemCount(); ++p) {
        QTreeWidgetItem* project = tree_->topLevelItem(p);
        if (!makeChildren(project))
            freshen(project);
        out << project->data(0, role).toString();
        for (int m = 0; m < project->childCount(); ++m) {
            const QTreeWidgetItem* major = project->child(m);
            out << major->data(0, role).toString();
            for (int a = 0; a < major->childCount(); ++a)
                out << major->child(a)->data(0, role).toString();
        }
    }
    return out;
}

QStringList ProjectTree::allIds() {
    return all(IdRole);
}

QStringList ProjectTree::allStatuses() {
    return all(StatusRole);
}

// ---------------------------------------------------------------- reading again in place

void ProjectTree::syncChildren(
    QTreeWidgetItem* parent, const QList<Node>& wanted,
    const std::function<void(QTreeWidgetItem*, const Node&, bool made)>& each) {
    QSet<QString> ids;
    ids.reserve(wanted.size());
    for (const Node& n : wanted)
        ids.insert(n.id);
    for (int k = parent->childCount() - 1; k >= 0; --k) {
        if (!ids.contains(idOf(parent->child(k))))
            delete parent->takeChild(k);
    }
    // Both in the tables' order: the nodes left are the wanted ones that were there, in order,
    // so a node that is not the one wanted at its place is new.
    for (int i = 0; i < wanted.size(); ++i) {
        QTreeWidgetItem* item = parent->child(i);
        const bool made = !item || idOf(item) != wanted[i].id;
        if (made) {
            item = makeItem(wanted[i]);
            parent->insertChild(i, item);
        } else {
            setNode(item, wanted[i]);
        }
        if (each)
            each(item, wanted[i], made);
    }
}

void ProjectTree::readChildren(const QList<QTreeWidgetItem*>& projects) {
    if (projects.isEmpty())
        return;
    QList<QVariantList> keys;
    for (const QTreeWidgetItem* project : projects)
        keys << QVariantList{idOf(project).toLongLong()};
    // Every project's children in two reads, whatever the number of projects.
    Children children = childrenOf(dm_->Major->rangesOf(keys), dm_->Action->rangesOf(keys));
    if (!filter_.isEmpty()) {
        // A tree being searched stays searched: only the matches and their parents come back.
        for (const QTreeWidgetItem* project : projects) {
            QList<Node>& majors = children[idOf(project)];
            majors.removeIf([&](const Node& m) {
                QList<Node>& actions = children[m.id];
                actions.removeIf([&](const Node& a) { return !matches(a.caption); });
                return actions.isEmpty() && !matches(m.caption);
            });
        }
    }
    for (QTreeWidgetItem* project : projects) {
        project->setData(0, PendingRole, QVariant());
        project->setData(0, StaleRole, QVariant());
        syncChildren(project, children.value(idOf(project)),
                     [&](QTreeWidgetItem* major, const Node& m, bool) {
                         syncChildren(major, children.value(m.id), {});
                     });
        project->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
    }
}

bool ProjectTree::freshen(QTreeWidgetItem* project) {
    if (!project->data(0, StaleRole).toBool() || !dm_)
        return false;
    readChildren({project});
    return true;
}

QSet<const QTreeWidgetItem*> ProjectTree::projectsInView() const {
    QSet<const QTreeWidgetItem*> out;
    if (!tree_->isVisible())
        return out;
    const int bottom = tree_->viewport()->height();
    for (QTreeWidgetItem* item = tree_->itemAt(0, 0);
         item && tree_->visualItemRect(item).top() < bottom; item = tree_->itemBelow(item)) {
        const QTreeWidgetItem* project = item;
        while (project->parent())
            project = project->parent();
        out.insert(project);
    }
    return out;
}

void ProjectTree::readAgain() {
    if (!dm_ || !dm_->projects->isActive())
        return;
    {
        // The projects coming into view meanwhile get their children at the end.
        const QScopedValueRollback noFilling(filling_, true);
        syncProjects();
    }
    fillView();
}

void ProjectTree::syncProjects() {
    const QSet<const QTreeWidgetItem*> inView = projectsInView();
    const QTreeWidgetItem* top = tree_->isVisible() ? tree_->itemAt(0, 0) : nullptr;
    const QString topId = idOf(top);
    const int scrolled = tree_->verticalScrollBar()->value();
    QList<QTreeWidgetItem*> shown;
    syncChildren(tree_->invisibleRootItem(), projects(),
                 [&](QTreeWidgetItem* project, const Node&, bool made) {
                     if (made) {
                         project->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
                         project->setData(0, PendingRole, true);
                     } else if (!project->data(0, PendingRole).toBool()) {
                         // What shows is read now; the rest when it shows.
                         if (project->isExpanded() && inView.contains(project))
                             shown << project;
                         else
                             project->setData(0, StaleRole, true);
                     }
                 });
    readChildren(shown);
    projectNodes_.clear();
    for (int p = 0; p < tree_->topLevelItemCount(); ++p) {
        QTreeWidgetItem* project = tree_->topLevelItem(p);
        projectNodes_.insert(idOf(project).toLongLong(), project);
    }
    // The node that was at the top stays there; gone, the view stays where it was.
    if (QTreeWidgetItem* again = topId.isEmpty() ? nullptr : find(topId))
        tree_->scrollToItem(again, QAbstractItemView::PositionAtTop);
    else
        tree_->verticalScrollBar()->setValue(scrolled);
}

#include "projecttree.h"

#include "data/nodefigures.h"
#include "data/projectdata.h"
#include "framework/io/showntext.h"

#include <QColor>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTreeWidget>
#include <algorithm>
#include <array>
#include <functional>

namespace {

constexpr int IdRole = Qt::UserRole;
constexpr int StatusRole = Qt::UserRole + 1;
// Set on a project node whose children have not been made yet.
constexpr int PendingRole = Qt::UserRole + 2;
constexpr int OverRole = Qt::UserRole + 3;

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
        if (!item->parent())
            makeChildren(item);
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
    // Control and direction characters show as escapes: a name cannot disguise itself.
    auto* item = new QTreeWidgetItem(QStringList(vok::ShownText::escaped(node.caption)));
    item->setData(0, IdRole, node.id);
    item->setData(0, StatusRole, node.status);
    if (node.status == QLatin1String("1"))
        item->setForeground(0, QColor(0x00, 0x80, 0x00)); // completed: green
    else if (node.status == QLatin1String("2"))
        item->setForeground(0, QColor(0xc0, 0x00, 0x00)); // critical: red
    if (node.over)
        markOver(item, true);
    return item;
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

QList<ProjectTree::Node> ProjectTree::majorsOf(const QString& projectId, qlonglong project) const {
    const vok::Table& t = *dm_->Major;
    const int id = t.fieldByName(QStringLiteral("Major_id")).index();
    const int name = t.fieldByName(QStringLiteral("Major_item")).index();
    const int done = t.fieldByName(QStringLiteral("Major_completed")).index();
    const int critical = t.fieldByName(QStringLiteral("Major_critical")).index();
    const BudgetColumns budget(t, 1);
    QList<Node> out;
    const QString prefix = projectId + QLatin1Char(',');
    for (const vok::TableRow& r : t.rangeOf({project})) {
        const qlonglong key = r.values[id].toLongLong();
        out.append({prefix + QString::number(key), r.values[name].toString(),
                    status(flag(r.values[done]), flag(r.values[critical])), key,
                    budget.over([&](int column) { return r.values[column]; })});
    }
    return out;
}

QHash<qlonglong, QList<ProjectTree::Node>> ProjectTree::actionsOf(const QString& projectId,
                                                                  qlonglong project) const {
    const vok::Table& t = *dm_->Action;
    const int majorId = t.fieldByName(QStringLiteral("Action_major_id")).index();
    const int id = t.fieldByName(QStringLiteral("Action_id")).index();
    const int name = t.fieldByName(QStringLiteral("Action_name")).index();
    const int done = t.fieldByName(QStringLiteral("Action_completed")).index();
    const int critical = t.fieldByName(QStringLiteral("Action_critical")).index();
    const BudgetColumns budget(t, 2);
    QHash<qlonglong, QList<Node>> out;
    const QString prefix = projectId + QLatin1Char(',');
    // The project's actions in one read, major activity by major activity.
    for (const vok::TableRow& r : t.rangeOf({project})) {
        const qlonglong major = r.values[majorId].toLongLong();
        const qlonglong key = r.values[id].toLongLong();
        out[major].append(
            {prefix + QString::number(major) + QLatin1Char(',') + QString::number(key),
             r.values[name].toString(), status(flag(r.values[done]), flag(r.values[critical])), key,
             budget.over([&](int column) { return r.values[column]; })});
    }
    return out;
}

void ProjectTree::clear() {
    projectNodes_.clear();
    tree_->clear();
}

void ProjectTree::load() {
    clear();
    QList<QTreeWidgetItem*> top;
    const QList<Node> nodes = projects();
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
    const qlonglong key = projectId.toLongLong();
    QList<QTreeWidgetItem*> majors;
    const QHash<qlonglong, QList<Node>> actionsByMajor = actionsOf(projectId, key);
    for (const Node& m : majorsOf(projectId, key)) {
        QTreeWidgetItem* major = makeItem(m);
        QList<QTreeWidgetItem*> actions;
        for (const Node& a : actionsByMajor.value(m.key))
            actions << makeItem(a);
        major->addChildren(actions);
        majors << major;
    }
    project->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
    project->addChildren(majors);
    return true;
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
    makeChildren(node);
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
        makeChildren(project);
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

#include "treecontroller.h"

#include "data/changehistory.h"
#include "data/projectcopy.h"
#include "data/projectdata.h"
#include "data/projecthierarchy.h"
#include "detailpage.h"
#include "framework/dataset/databaseerror.h"
#include "framework/dataset/field.h"
#include "framework/dataset/heldnotices.h"
#include "framework/dataset/table.h"
#include "framework/dataset/transaction.h"
#include "framework/io/shownlocation.h"
#include "framework/io/showntext.h"
#include "framework/ui/errorbox.h"
#include "framework/ui/guard.h"
#include "framework/ui/messages.h"
#include "framework/widgets/accessiblename.h"
#include "framework/widgets/datalink.h"
#include "framework/widgets/dbedit.h"
#include "projecttree.h"
#include "recordtab.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopeGuard>
#include <QStyle>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>
#include <QVBoxLayout>

TreeController::TreeController(QGroupBox* box, QObject* parent) : QObject(parent) {
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(6, 6, 6, 6);
    view_ = new QTreeWidget(box);
    view_->setObjectName(QStringLiteral("TreeView1"));
    vok::AccessibleName::follow(view_, [box] { return box->title(); });
    view_->setHeaderHidden(true);
    view_->setColumnCount(1);
    view_->setIndentation(19);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setUniformRowHeights(true);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    view_->setFont(font);
    QPalette palette = view_->palette();
    palette.setColor(QPalette::Text, Qt::black);
    view_->setPalette(palette);
    view_->setToolTip(QStringLiteral("Right click on a selected item to add and delete"));
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    // A right click opens the menu of the selected node without selecting another one.
    // It also shows a name cut at the tree's edge whole, as a tooltip.
    viewport_ = view_->viewport();
    viewport_->installEventFilter(this);
    // The Delete key deletes the selected node, as its menu's Delete item does.
    view_->installEventFilter(this);
    connect(view_, &QWidget::customContextMenuRequested, this, &TreeController::showPopup);
    tree_ = new ProjectTree(view_);

    selectionTimer_ = new QTimer(this);
    selectionTimer_->setSingleShot(true);
    selectionTimer_->setInterval(50);
    connect(selectionTimer_, &QTimer::timeout, this,
            [this] { vok::Guard::run([this] { showSelectedNode(); }); });
    connect(view_, &QTreeWidget::currentItemChanged, this, [this] { selectionTimer_->start(); });
    // A click that selects the current node (Qt makes the first node current, unselected, when
    // the tree first takes the focus) changes no current item; a click on a node whose page does
    // not show changes nothing at all. Both still show the node's page.
    // An assistive tool selects a node without making it current: it becomes current, so that
    // the keyboard goes on from there.
    connect(view_, &QTreeWidget::itemSelectionChanged, this, [this] {
        const QList<QTreeWidgetItem*> selected = view_->selectedItems();
        if (selected.size() == 1 && view_->currentItem() != selected.first())
            view_->setCurrentItem(selected.first());
        selectionTimer_->start();
    });
    // A click on the node already selected brings its page back as it is stored now.
    connect(view_, &QTreeWidget::itemClicked, this, [this] { selectionTimer_->start(); });
    layout->addWidget(view_);
}

void TreeController::setPages(const std::array<DetailPage*, 3>& pages) {
    pages_ = pages;
    // Ok and Cancel end adding; a name being typed renames its node; leaving a field stores it.
    for (int level = 0; level < static_cast<int>(pages_.size()); ++level) {
        const RecordTab* record = pages_[level]->record;
        connect(record->ok, &QPushButton::clicked, this,
                [this, level] { vok::Guard::run([&] { finishAdding(level, true); }); });
        connect(record->cancel, &QPushButton::clicked, this,
                [this, level] { vok::Guard::run([&] { finishAdding(level, false); }); });
        connect(record->name, &QLineEdit::textChanged, this, [this, level] { renameNode(level); });
        for (vok::DataLink* link : record->dataLinks())
            connect(link, &vok::DataLink::exited, this, [this, level] { postRecord(level); });
        connect(record, &RecordTab::escapePressed, this,
                [this, level] { vok::Guard::run([&] { dropTyped(level); }); });
    }
}

void TreeController::setDataModule(ProjectData* dm) {
    dm_ = dm;
    tree_->setDataModule(dm);
    // However a record of the tree is found gone (a post, a re-read, another window's walk), the
    // window takes the node-gone way.
    for (int level = PageDesign::Project; level <= PageDesign::Action; ++level)
        connect(dm->*PageDesign::of(level).records, &vok::Table::recordGone, this,
                [this, level](bool typedLost) { recordGone(level, typedLost); });
}

void TreeController::setPopups(const std::array<QMenu*, 3>& popups) {
    popups_ = popups;
}

QMenu* TreeController::attachedPopup() const {
    const QString id = selectedNode();
    return popups_[id.isEmpty() ? 0 : static_cast<size_t>(id.count(QLatin1Char(',')))];
}

// ---------------------------------------------------------------- the tree

void TreeController::loadTree() {
    const QSignalBlocker block(view_);
    selectionTimer_->stop();
    // Other installations may have changed the tables: read them again. A pending record that
    // cannot be stored fails here, and the tree stays as it was.
    if (dm_ && dm_->projects->isActive())
        dm_->projects->refresh();
    tree_->clear();
    if (!dm_ || !dm_->projects->isActive())
        return;
    // The rebuilt tree selects nothing. The pages' controls hear once, at the end, where the
    // tables were left.
    hidePages();
    const vok::HeldNotices held(dm_->tables());
    // The project nodes, and the children of those in view; nothing moves the record-sets.
    tree_->load();
    // The tables end on the last project, its last major activity and that one's last action,
    // as a walk of the whole tree would leave them.
    for (vok::Table* t : {dm_->projects, dm_->Major, dm_->Action}) {
        if (!t->isEmpty())
            t->last();
    }
}

QStringList TreeController::projectList() const {
    return tree_->allIds();
}

QStringList TreeController::criticalList() const {
    return tree_->allStatuses();
}

int TreeController::nodeIndex(const QTreeWidgetItem* item) const {
    return item ? static_cast<int>(projectList().indexOf(ProjectTree::idOf(item))) : -1;
}

QTreeWidgetItem* TreeController::findNode(const QString& id) const {
    return tree_->find(id);
}

QString TreeController::selectedNode() const {
    const QList<QTreeWidgetItem*> selected = view_->selectedItems();
    if (selected.isEmpty())
        return {};
    return ProjectTree::idOf(selected.first());
}

bool TreeController::selectNode(const QString& id) {
    QTreeWidgetItem* item = id.isEmpty() ? nullptr : findNode(id);
    if (!item)
        return false;
    {
        const QSignalBlocker block(view_);
        view_->setCurrentItem(item);
        view_->scrollToItem(item);
    }
    selectionTimer_->stop();
    showSelectedNode();
    return true;
}

bool TreeController::positionOnSelectedNode(int parts) {
    const QString id = selectedNode();
    if (id.isEmpty())
        return false;
    idstrings = id.split(QLatin1Char(','));
    const int p = idstrings.value(0).toInt();
    if (!dm_->projects->findKey({p}))
        return false;
    if (parts >= 2 && idstrings.size() >= 2 && !dm_->Major->findKey({p, idstrings[1].toInt()}))
        return false;
    if (parts >= 3 && idstrings.size() >= 3 &&
        !dm_->Action->findKey({p, idstrings[1].toInt(), idstrings[2].toInt()}))
        return false;
    return true;
}

void TreeController::showSelectedNode() {
    // The tree is disabled while a record is added; a selection change still pending from
    // before must not take the new record's page away.
    if (!dm_ || isAdding())
        return;
    settleGone();
    const QString id = selectedNode();
    // The node whose page shows, clicked again: its record is read again, the tab stays.
    const bool again = !shown_.isEmpty() && id == shown_;
    if (!shown_.isEmpty() && !again) {
        // What was typed on the page showing is stored before anything moves; where it cannot
        // be, the user stays there.
        if (holdsRefusedText())
            return;
        switch (storeShown()) {
        case Stored::Yes:
            break;
        case Stored::Refused:
            backToShown();
            return;
        case Stored::Gone:
            settleGone();
            return;
        }
    }
    hidePages();
    if (id.isEmpty())
        return;
    if (!positionOnSelectedNode(3)) {
        if (dm_->projects->isActive())
            nodeGone(id, nodeText(id), false);
        return;
    }
    const int level = static_cast<int>(idstrings.size()) - 1;
    if (level < PageDesign::Project || level > PageDesign::Action || !rereadRecord(level))
        return;
    pages_[level]->showRecord(again);
    shown_ = id;
}

bool TreeController::rereadRecord(int level) {
    // Another installation may have changed the record since it was read.
    if (pages_[level]->records()->refreshRecord())
        return true;
    settleGone();
    return false;
}

void TreeController::recordGone(int level, bool typedLost) {
    // Called from inside the record-set, which still stands on the record: noted now, acted on
    // when the command that found it has ended.
    const QString id = pages_[level]->recordId();
    if (goneId_.isEmpty() || goneId_.startsWith(id + QLatin1Char(','))) {
        goneId_ = id;
        goneName_ = pages_[level]
                        ->records()
                        ->fieldByName(QLatin1String(PageDesign::of(level).fields[0].field))
                        .asString();
    }
    goneTypedLost_ = goneTypedLost_ || typedLost;
    QTimer::singleShot(0, this, [this] { vok::Guard::run([this] { settleGone(); }); });
}

void TreeController::settleGone() {
    if (goneId_.isEmpty())
        return;
    const QString id = std::exchange(goneId_, {});
    const bool typedLost = std::exchange(goneTypedLost_, false);
    nodeGone(id, std::exchange(goneName_, {}), typedLost);
}

QString TreeController::nodeText(const QString& id) const {
    const QTreeWidgetItem* item = findNode(id);
    return item ? item->text(0) : QString();
}

void TreeController::nodeGone(const QString& id, const QString& name, bool typedLost) {
    // The selection, unless it is the node or below it; otherwise the node's parent.
    QString target = selectedNode();
    const auto under = [&id](const QString& node) {
        return node == id || node.startsWith(id + QLatin1Char(','));
    };
    if (target.isEmpty() || under(target))
        target = id.section(QLatin1Char(','), 0, -2);
    // What was typed into the record, and what its page refused, goes with it.
    for (DetailPage* page : pages_) {
        if (!page->records() || !page->records()->isActive() || !under(page->recordId()))
            continue;
        typedLost = typedLost || page->records()->isModified() ||
                    (page == shownPage() && page->record->hasInvalidText());
        page->records()->cancel();
        page->record->reload();
    }
    loadTree();
    while (!target.isEmpty() && !findNode(target))
        target = target.section(QLatin1Char(','), 0, -2);
    selectNode(target);
    // A record noted gone meanwhile was among those just read again.
    if (under(goneId_)) {
        goneId_.clear();
        goneTypedLost_ = false;
    }
    QString message =
        QStringLiteral("\"%1\" is no longer stored: another installation deleted it.").arg(name);
    if (typedLost)
        message += QStringLiteral(" What you typed into it could not be stored.");
    vok::Messages::inform(message);
}

DetailPage* TreeController::shownPage() const {
    if (shown_.isEmpty())
        return nullptr;
    DetailPage* page = pages_[static_cast<size_t>(shown_.count(QLatin1Char(',')))];
    return page->isHidden() ? nullptr : page;
}

bool TreeController::holdsRefusedText() {
    DetailPage* page = shownPage();
    vok::DBEdit* edit = page ? page->record->refusedEdit() : nullptr;
    if (!edit)
        return false;
    backToShown();
    page->setCurrentIndex(0);
    edit->takeBack();
    return true;
}

void TreeController::backToShown() {
    selectionTimer_->stop();
    QTreeWidgetItem* item = findNode(shown_);
    if (!item || view_->currentItem() == item)
        return;
    const QSignalBlocker block(view_);
    view_->setCurrentItem(item);
    view_->scrollToItem(item);
}

TreeController::Stored TreeController::storeRecord(int level) {
    vok::Table* records = pages_[level]->records();
    while (records && records->isEditing()) {
        try {
            records->checkBrowseMode();
        } catch (const vok::DatabaseError& e) {
            switch (e.kind()) {
            case vok::DatabaseError::Kind::Gone:
                return Stored::Gone; // noted by recordGone
            case vok::DatabaseError::Kind::Clash:
                if (keepTyped(e))
                    continue; // stored over theirs, unless a third writer came between
                records->cancel();
                pages_[level]->record->reload();
                showStoredName(level);
                return Stored::Yes;
            default:
                vok::ErrorBox::show(e.message());
                return Stored::Refused;
            }
        }
    }
    return Stored::Yes;
}

bool TreeController::keepTyped(const vok::DatabaseError& clash) {
    const QString text =
        QStringLiteral("Another user changed this record while you edited it.\n%1\n\n"
                       "Keep what you typed? Yes stores it over theirs; No takes theirs.")
            .arg(clash.clashes().join(QLatin1Char('\n')));
    return vok::Messages::show({vok::Messages::Icon::Question, vok::Messages::applicationTitle(),
                                text, QMessageBox::Yes | QMessageBox::No}) == QMessageBox::Yes;
}

TreeController::Stored TreeController::storeShown() {
    const DetailPage* page = shownPage();
    if (!page)
        return Stored::Yes;
    const Stored stored = storeRecord(static_cast<int>(shown_.count(QLatin1Char(','))));
    if (stored != Stored::Yes)
        return stored;
    // Team rows and notes still being typed are stored as leaving their tab stores them.
    return vok::Guard::run([this] { ProjectHierarchy(*dm_).storePending(); }) ? Stored::Yes
                                                                              : Stored::Refused;
}

void TreeController::showStoredName(int level) {
    if (QTreeWidgetItem* item =
            shown_.count(QLatin1Char(',')) == level ? findNode(shown_) : nullptr)
        item->setText(0, vok::ShownText::escaped(
                             pages_[level]
                                 ->records()
                                 ->fieldByName(QLatin1String(PageDesign::of(level).fields[0].field))
                                 .asString()));
}

void TreeController::hidePages() {
    for (DetailPage* page : pages_)
        page->hide();
    shown_.clear();
}

bool TreeController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString id = selectedNode();
        if (key->key() != Qt::Key_Delete || key->modifiers() != Qt::NoModifier || id.isEmpty())
            return false;
        const int level = static_cast<int>(id.count(QLatin1Char(',')));
        vok::Guard::run([&] { deleteNode(level); });
        return true;
    }
    // Compared, never asked of the view: the viewport's last events come while the view is
    // being destroyed.
    if (watched == viewport_) {
        const QEvent::Type t = event->type();
        if (t == QEvent::ToolTip)
            return showCutName(static_cast<QHelpEvent*>(event));
        if ((t == QEvent::MouseButtonPress || t == QEvent::MouseButtonRelease ||
             t == QEvent::MouseButtonDblClick) &&
            static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
            return true;
    }
    return QObject::eventFilter(watched, event);
}

bool TreeController::showCutName(const QHelpEvent* event) {
    const QModelIndex index = view_->indexAt(event->pos());
    if (!index.isValid())
        return false; // the tree's own tooltip
    const QRect rect = view_->visualRect(index);
    const QString name = index.data().toString();
    // The delegate leaves a margin on each side of the text.
    const int margin =
        view_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view_) + 1;
    const int room = std::min(rect.right(), view_->viewport()->width()) - rect.left();
    if (view_->fontMetrics().horizontalAdvance(name) + 2 * margin <= room)
        return false;
    QToolTip::showText(event->globalPos(), name, view_->viewport(), rect);
    return true;
}

void TreeController::showPopup(const QPoint& pos) {
    if (QMenu* menu = attachedPopup(); view_->isEnabled() && menu)
        menu->popup(view_->viewport()->mapToGlobal(pos));
}

// ---------------------------------------------------------------- adding

bool TreeController::isAdding() const {
    return std::any_of(pages_.begin(), pages_.end(),
                       [](const DetailPage* page) { return page->isAdding(); });
}

void TreeController::setBusy(bool busy) {
    view_->setEnabled(!busy);
    // The tree had the focus before the command and lost it while disabled: the keys (Undo,
    // the arrows) go on from there.
    if (!busy && !QApplication::focusWidget() && view_->isVisible())
        view_->setFocus(Qt::OtherFocusReason);
    Q_EMIT busyChanged(busy);
}

void TreeController::startAdding(int level) {
    if (level > PageDesign::Project && selectedNode().isEmpty())
        return;
    if (!leaveShown())
        return;
    DetailPage* page = pages_[level];
    // Refused before the page shows Ok and Cancel for a record that could never be stored.
    if (!dm_ || !page->records() || !page->records()->isActive())
        throw vok::DatabaseError(
            QStringLiteral("Vok has no data folder open (%1), so nothing can be added")
                .arg(dm_ ? vok::ShownLocation::of(dm_->store->folder()) : QString()),
            vok::DatabaseError::Kind::Engine);
    selectionTimer_->stop();
    hidePages();
    page->showRecord(false);
    page->setAdding(true);
    // The new major activity goes to the selected node's project, the new action to its major
    // activity: a major or action node adds a sibling.
    if (level > PageDesign::Project)
        positionOnSelectedNode(level);
    page->records()->insert();
    setBusy(true);
    page->record->name->setFocus(Qt::OtherFocusReason);
}

void TreeController::finishAdding(int level, bool store) {
    DetailPage* page = pages_[level];
    // A text a field refused is reported by its control; Ok waits until it is put right.
    if (store && page->record->hasInvalidText())
        return;
    QString saved;
    if (store) {
        // A record that cannot be stored is reported now and the page stays in add mode, so
        // that it can be put right or dropped with Cancel.
        page->records()->post();
        saved = page->recordId();
    } else {
        page->records()->cancel();
    }
    page->setAdding(false);
    setBusy(false);
    if (store) {
        loadTree();
        if (!saved.isEmpty())
            selectNode(saved);
    } else {
        // Back to the node that is selected, or to no page.
        showSelectedNode();
    }
}

// ---------------------------------------------------------------- editing in place

void TreeController::postRecord(int level) {
    const DetailPage* page = pages_[level];
    // While adding, only Ok stores; a refused text keeps the record as it is being typed.
    if (!dm_ || page->isAdding() || page->record->hasInvalidText())
        return;
    // A post that is refused is said at once (the record another installation changed
    // meanwhile, a rule of the data); what was typed is never dropped without a word. A record
    // found gone is left to the node-gone way once the focus has settled.
    vok::Guard::run([&] { storeRecord(level); });
}

void TreeController::renameNode(int level) {
    const DetailPage* page = pages_[level];
    if (!page->record->name->isModified() || page->isAdding())
        return;
    // The node whose page shows, which the selection may have left a moment ago.
    if (QTreeWidgetItem* item =
            shown_.count(QLatin1Char(',')) == level ? findNode(shown_) : nullptr)
        item->setText(0, vok::ShownText::escaped(page->record->name->text()));
}

void TreeController::dropTyped(int level) {
    DetailPage* page = pages_[level];
    if (page->isAdding()) {
        finishAdding(level, false);
        return;
    }
    if (page->records() && page->records()->isActive())
        page->records()->cancel();
    page->record->reload();
    showStoredName(level);
}

bool TreeController::leaveShown() {
    if (holdsRefusedText())
        return false;
    switch (storeShown()) {
    case Stored::Yes:
        return true;
    case Stored::Gone:
        settleGone();
        return false;
    case Stored::Refused:
        return false;
    }
    return false;
}

// ---------------------------------------------------------------- deleting

void TreeController::deleteNode(int level) {
    const QString id = selectedNode();
    if (!dm_ || id.isEmpty())
        return;
    if (holdsRefusedText())
        return;
    if (!vok::Messages::confirm(QLatin1String(PageDesign::of(level).deleteQuestion)))
        return;
    // What was typed elsewhere is stored first; what was typed into the node is deleted with it.
    const bool deletingShown =
        !shown_.isEmpty() && (shown_ == id || shown_.startsWith(id + QLatin1Char(',')));
    if (deletingShown) {
        for (int l = level; l <= PageDesign::Action; ++l)
            pages_[l]->records()->cancel();
    } else if (!leaveShown()) {
        return;
    }
    // The parent shows afterwards, opened as it was.
    const QString parent = id.section(QLatin1Char(','), 0, -2);
    const QTreeWidgetItem* parentItem = parent.isEmpty() ? nullptr : findNode(parent);
    const bool parentOpen = parentItem && parentItem->isExpanded();
    hidePages();
    setBusy(true);
    const auto done = qScopeGuard([this] { setBusy(false); });
    // Never the record the cursors happen to be on: the node's own, or nothing.
    if (!positionOnSelectedNode(level + 1)) {
        nodeGone(id, nodeText(id), false);
        return;
    }
    {
        // All or nothing: a failure leaves every table, and the tree, as they were. One step
        // of the history, which gives back every row under its number.
        ChangeHistory::Command step(history_, ChangeStep::Kind::Delete);
        vok::Transaction work(*dm_->store);
        ProjectHierarchy(*dm_).remove(level);
        work.commit();
        step.done();
    }
    setBusy(false);
    loadTree();
    if (selectNode(parent) && parentOpen)
        findNode(parent)->setExpanded(true);
}

// ---------------------------------------------------------------- copying and refreshing

void TreeController::copyProject(ProjectCopyTables& copies) {
    if (!dm_ || !leaveShown() || !positionOnSelectedNode(1))
        return;
    ChangeHistory::Command step(
        history_, ChangeStep::Kind::Copy,
        dm_->projects->fieldByName(QStringLiteral("Zel_project")).asString());
    const ProjectCopy::Result copy = ProjectCopy(*dm_, copies).run();
    step.done();
    loadTree();
    selectNode(QString::number(copy.project));
}

void TreeController::refresh() {
    if (!dm_ || !dm_->projects->isActive() || isAdding())
        return;
    // What was typed is stored first; a refusal is said and nothing is read again.
    if (!leaveShown())
        return;
    for (vok::Table* t : {dm_->Action, dm_->Major, dm_->projects})
        t->checkBrowseMode();
    const QString id = selectedNode();
    const QString name = nodeText(id);
    DetailPage* shown = shownPage();
    const int tab = shown ? shown->currentIndex() : 0;
    dm_->refreshAll();
    refillMemberPickLists();
    loadTree();
    if (id.isEmpty())
        return;
    if (!findNode(id)) {
        nodeGone(id, name, false);
        return;
    }
    if (!selectNode(id) || !shown || shown->isHidden())
        return;
    shown->setCurrentIndex(tab); // the tab it showed, its views opened again
}

void TreeController::refillMemberPickLists() {
    for (DetailPage* page : pages_)
        page->setMemberPickList({});
    QStringList names;
    dm_->Members->first();
    vok::Field& name = dm_->Members->fieldByName(QStringLiteral("Member_name"));
    while (!dm_->Members->eof()) {
        names << name.asString();
        dm_->Members->next();
    }
    for (DetailPage* page : pages_)
        page->setMemberPickList(names);
}

// ---------------------------------------------------------------- undo and find

void TreeController::showAfterChange(const QString& id) {
    if (!dm_)
        return;
    loadTree();
    QString target = id;
    while (!target.isEmpty() && !findNode(target))
        target = target.section(QLatin1Char(','), 0, -2);
    selectNode(target);
}

void TreeController::filter(const QString& text) {
    if (!dm_ || isAdding() || tree_->filter() == text.trimmed() || !leaveShown())
        return;
    const QString before = selectedNode();
    tree_->setFilter(text);
    loadTree();
    if (const QTreeWidgetItem* first = tree_->firstMatch())
        selectNode(ProjectTree::idOf(first));
    else if (tree_->filter().isEmpty())
        selectNode(before);
}

// ---------------------------------------------------------------- other installations' changes

namespace {

// The fields of a record tab whose control holds the focus: the user is in them.
QList<int> fieldsInHand(const RecordTab& tab) {
    QList<int> fields;
    const QWidget* focus = QApplication::focusWidget();
    for (const vok::DataLink* link : tab.dataLinks()) {
        const auto* control = qobject_cast<const QWidget*>(link->parent());
        if (focus && control && (control == focus || control->isAncestorOf(focus)) && link->field())
            fields << link->field()->index();
    }
    return fields;
}

} // namespace

TreeController::Reading TreeController::readAgainWhatShows(bool record) {
    if (!dm_ || !dm_->projects->isActive())
        return Reading::Done;
    if (isAdding() || !view_->isEnabled() || selectionTimer_->isActive() || !goneId_.isEmpty())
        return Reading::Waiting;
    DetailPage* page = shownPage();
    const QList<vok::Table*> tables = dm_->tables();
    const bool typing =
        std::any_of(tables.begin(), tables.end(), [](vok::Table* t) { return t->isEditing(); }) ||
        (page && page->record->hasInvalidText());
    if (typing) {
        // A record found gone here is told by its own post.
        if (record && page && page->records()->isEditing()) {
            page->records()->refreshUnchangedFields(fieldsInHand(*page->record));
            return Reading::RecordOnly;
        }
        return Reading::Waiting;
    }
    const QString id = selectedNode();
    bool stored = true;
    {
        // The controls hear once, at the end: those in view read their record or list again.
        const vok::HeldNotices held(tables);
        dm_->projects->refresh();
        stored = !page || positionOnSelectedNode(3);
    }
    if (!stored) {
        nodeGone(id, nodeText(id), false);
        return Reading::Done;
    }
    const QSignalBlocker block(view_);
    tree_->readAgain();
    return Reading::Done;
}

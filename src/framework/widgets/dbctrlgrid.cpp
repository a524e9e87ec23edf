#include "dbctrlgrid.h"

#include "accessiblename.h"
#include "framework/dataset/field.h"
#include "framework/dataset/table.h"
#include "framework/ui/guard.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QWheelEvent>

namespace vok {

DBCtrlGrid::DBCtrlGrid(QWidget* parent) : QFrame(parent), link_(new DataLink(this)) {
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(2, 2, 2, 2);
    outer->setSpacing(2);
    grid_ = new QGridLayout;
    grid_->setSpacing(3);
    outer->addLayout(grid_, 1);
    scroll_ = new QScrollBar(Qt::Vertical, this);
    scroll_->setFocusPolicy(Qt::NoFocus);
    outer->addWidget(scroll_);
    connect(scroll_, &QScrollBar::valueChanged, this, [this](int value) {
        if (value != top_) {
            top_ = value;
            refresh();
        }
    });
    link_->onChange = [this](DataLink::Changes) {
        rows_.setTable(link_->table());
        keepCurrentInView();
        refresh();
    };
    link_->setStoreOnLeave(true);
    rebuild();
}

void DBCtrlGrid::setDataSource(Table* table) {
    link_->setTable(table);
    rows_.setTable(table);
    link_->deliver();
}

Table* DBCtrlGrid::table() const {
    return link_->table();
}

void DBCtrlGrid::setDesign(const CtrlGridDesign& design) {
    design_ = design;
    rebuild();
}

void DBCtrlGrid::setLineCaption(int line, const QString& caption) {
    if (line < 0 || line >= design_.lines.size())
        return;
    design_.lines[line].caption = caption;
    for (DBCtrlGridPanel* p : std::as_const(panels_))
        p->setCaption(line, caption);
}

void DBCtrlGrid::setPanelGrid(int columns, int rows) {
    columns_ = std::max(1, columns);
    rowsDown_ = std::max(1, rows);
    rebuild();
}

void DBCtrlGrid::setPanelSize(const QSize& size) {
    panelSize_ = size;
    rebuild();
}

void DBCtrlGrid::setEditable(bool on) {
    editable_ = on;
    // Tab, Backtab and a click go straight into the notes themselves: the grid around them
    // would take the keys and do nothing with them.
    setFocusPolicy(on ? Qt::NoFocus : Qt::StrongFocus);
    rebuild();
}

void DBCtrlGrid::setAccessibleCaption(std::function<QString()> caption) {
    accessibleCaption_ = std::move(caption);
    AccessibleName::follow(this, [this] { return accessibleCaption_(); });
}

void DBCtrlGrid::rebuild() {
    qDeleteAll(panels_);
    panels_.clear();
    for (int slot = 0; slot < columns_ * rowsDown_; ++slot) {
        auto* p = new DBCtrlGridPanel(design_, this);
        if (panelSize_.isValid())
            p->setFixedSize(panelSize_);
        p->installEventFilter(this);
        for (QWidget* child : p->findChildren<QWidget*>()) {
            child->installEventFilter(this);
            // Not the memo's own parts: its viewport passes a focus policy on to the memo.
            const QWidget* memo = p->memo();
            if (!memo || (child != memo && !memo->isAncestorOf(child)))
                child->setFocusPolicy(Qt::NoFocus);
        }
        if (QPlainTextEdit* memo = p->memo()) {
            memo->setReadOnly(!editable_);
            AccessibleName::follow(
                memo, [this] { return accessibleCaption_ ? accessibleCaption_() : QString(); });
            memo->viewport()->installEventFilter(this);
            if (!editable_)
                memo->setFocusPolicy(Qt::NoFocus);
            connect(p, &DBCtrlGridPanel::memoEdited, this,
                    [this, slot](const QString& text) { onMemoEdited(slot, text); });
        }
        grid_->addWidget(p, slot / columns_, slot % columns_);
        panels_ << p;
    }
    for (int r = 0; r < rowsDown_; ++r)
        grid_->setRowStretch(r, 1);
    for (int c = 0; c < columns_; ++c)
        grid_->setColumnStretch(c, 1);
    refresh();
}

DBCtrlGridPanel* DBCtrlGrid::currentPanel() const {
    for (DBCtrlGridPanel* p : panels_) {
        if (p->isVisibleTo(this) && p->isCurrent())
            return p;
    }
    return nullptr;
}

void DBCtrlGrid::keepCurrentInView() {
    const int row = rows_.currentRow();
    if (row < 0)
        return;
    const int panelRow = row / columns_;
    if (panelRow < top_)
        top_ = panelRow;
    else if (panelRow >= top_ + rowsDown_)
        top_ = panelRow - rowsDown_ + 1;
}

void DBCtrlGrid::refresh() {
    const Table* t = link_->table();
    const int count = rows_.count();
    const int panelRows = (count + columns_ - 1) / columns_;
    top_ = std::clamp(top_, 0, std::max(0, panelRows - rowsDown_));
    {
        const QSignalBlocker block(scroll_);
        scroll_->setRange(0, std::max(0, panelRows - rowsDown_));
        scroll_->setPageStep(rowsDown_);
        scroll_->setValue(top_);
    }
    const int current = rows_.currentRow();
    // An editable list without records offers one blank panel to type the first one into.
    const bool blankFirst = editable_ && count == 0 && t && t->isActive();
    for (int slot = 0; slot < panels_.size(); ++slot) {
        DBCtrlGridPanel* p = panels_[slot];
        const int row = top_ * columns_ + slot;
        if (t && row < count) {
            p->showRow(*t, rows_, row, row == current);
            p->show();
        } else if (blankFirst && slot == 0) {
            p->showRow(*t, rows_, -1, true);
            p->show();
        } else {
            p->hide();
        }
    }
}

int DBCtrlGrid::slotOf(QObject* watched) const {
    for (int slot = 0; slot < panels_.size(); ++slot) {
        QWidget* p = panels_[slot];
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && (w == p || p->isAncestorOf(w)))
            return slot;
    }
    return -1;
}

void DBCtrlGrid::selectSlot(int slot) {
    Table* t = link_->table();
    DBCtrlGridPanel* p = panels_.value(slot);
    if (!t || !p || p->row() < 0 || p->row() == rows_.currentRow())
        return;
    const int record = rows_.recordIndex(p->row());
    if (record >= 0)
        Guard::run([&] { t->moveTo(record); });
}

void DBCtrlGrid::onMemoEdited(int slot, const QString& text) {
    Table* t = link_->table();
    DBCtrlGridPanel* p = panels_.value(slot);
    if (!t || !p || !editable_)
        return;
    if (p->row() >= 0 && p->row() != rows_.currentRow())
        selectSlot(slot);
    Guard::run([&] { link_->write([&] { t->fieldByName(design_.memoField).setAsString(text); }); });
}

bool DBCtrlGrid::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        selectSlot(slotOf(watched));
        if (!qobject_cast<QPlainTextEdit*>(watched->parent()) && focusPolicy() != Qt::NoFocus)
            setFocus(Qt::MouseFocusReason);
        break;
    case QEvent::MouseButtonDblClick: {
        selectSlot(slotOf(watched));
        Q_EMIT panelDoubleClicked();
        // Taken here: a caption passes the click on to its panel, which would report it again.
        // A memo keeps it (it selects a word).
        const bool inMemo = qobject_cast<QPlainTextEdit*>(watched) ||
                            qobject_cast<QPlainTextEdit*>(watched->parent());
        if (!inMemo)
            return true;
        break;
    }
    case QEvent::FocusIn:
        selectSlot(slotOf(watched));
        break;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete && (key->modifiers() & Qt::ControlModifier)) {
            deleteCurrent();
            return true;
        }
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier)
            return nextRecord();
        if (key->key() == Qt::Key_Backtab)
            return priorRecord();
        break;
    }
    default:
        break;
    }
    return QFrame::eventFilter(watched, event);
}

void DBCtrlGrid::keyPressEvent(QKeyEvent* event) {
    Table* t = link_->table();
    if (!t || !t->isActive()) {
        QFrame::keyPressEvent(event);
        return;
    }
    const int row = rows_.currentRow();
    switch (event->key()) {
    case Qt::Key_Down:
        Guard::run(
            [&] { t->moveTo(rows_.recordIndex(std::min(row + columns_, rows_.count() - 1))); });
        break;
    case Qt::Key_Up:
        Guard::run([&] { t->moveTo(rows_.recordIndex(std::max(row - columns_, 0))); });
        break;
    case Qt::Key_Right:
        Guard::run([&] { t->next(); });
        break;
    case Qt::Key_Left:
        Guard::run([&] { t->prior(); });
        break;
    case Qt::Key_Home:
        Guard::run([&] { t->first(); });
        break;
    case Qt::Key_End:
        Guard::run([&] { t->last(); });
        break;
    case Qt::Key_Delete:
        if (event->modifiers() & Qt::ControlModifier)
            deleteCurrent();
        break;
    default:
        QFrame::keyPressEvent(event);
    }
}

void DBCtrlGrid::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0)
        scroll_->setValue(scroll_->value() - steps);
    event->accept();
}

void DBCtrlGrid::deleteCurrent() {
    Table* t = link_->table();
    if (!editable_ || !t || !t->isActive())
        return;
    Guard::run([&] { t->deleteRecord(); });
}

bool DBCtrlGrid::nextRecord() {
    Table* t = link_->table();
    if (!t || !t->isActive())
        return false;
    const int row = rows_.currentRow();
    if (row >= 0 && row < rows_.count() - 1) {
        Guard::run([&] { t->moveTo(rows_.recordIndex(row + 1)); });
    } else {
        // Past the last record: a new one, unless the last is new and untouched (then the focus
        // goes on to the next control).
        if (!editable_ || (t->state() == Table::State::Insert && !t->isModified()) || row < 0)
            return false;
        Guard::run([&] { t->append(); });
    }
    if (DBCtrlGridPanel* p = currentPanel(); p && p->memo())
        p->memo()->setFocus(Qt::TabFocusReason);
    return true;
}

bool DBCtrlGrid::priorRecord() {
    Table* t = link_->table();
    const int row = rows_.currentRow();
    if (!t || !t->isActive() || row <= 0)
        return false;
    Guard::run([&] { t->moveTo(rows_.recordIndex(row - 1)); });
    if (DBCtrlGridPanel* p = currentPanel(); p && p->memo())
        p->memo()->setFocus(Qt::BacktabFocusReason);
    return true;
}

} // namespace vok

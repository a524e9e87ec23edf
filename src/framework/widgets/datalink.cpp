#include "datalink.h"

#include "framework/dataset/field.h"
#include "framework/dataset/table.h"

#include "framework/ui/guard.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QScopeGuard>
#include <QWidget>

namespace vok {

DataLink::DataLink(QWidget* control) : QObject(control), control_(control) {
    control_->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &DataLink::onFocusChanged);
}

void DataLink::setTable(Table* table) {
    if (table_ == table)
        return;
    for (const auto& c : std::as_const(connections_))
        disconnect(c);
    connections_.clear();
    table_ = table;
    if (table_) {
        connections_ << connect(table_, &Table::currentChanged, this,
                                [this] { notify(RecordChanged); });
        connections_ << connect(table_, &Table::dataChanged, this,
                                [this] { notify(RowsChanged | RecordChanged); });
        connections_ << connect(table_, &Table::stateChanged, this,
                                [this] { notify(StateChanged); });
        connections_ << connect(table_, &Table::fieldChanged, this, &DataLink::onFieldChanged);
    }
    notify(RowsChanged | RecordChanged | StateChanged);
}

void DataLink::setFieldName(const QString& name) {
    fieldName_ = name;
    notify(RecordChanged | StateChanged);
}

Field* DataLink::field() const {
    if (!table_ || fieldName_.isEmpty())
        return nullptr;
    return table_->findField(fieldName_);
}

bool DataLink::isActive() const {
    return table_ && table_->isActive();
}

bool DataLink::canModify() const {
    const Field* f = field();
    return isActive() && f && !f->isReadOnly() && !f->isCalculated();
}

void DataLink::write(const std::function<void()>& assign) {
    if (!table_)
        return;
    ++quiet_;
    const auto restore = qScopeGuard([this] { --quiet_; });
    if (!table_->isEditing())
        table_->edit();
    if (assign)
        assign();
}

void DataLink::onFieldChanged(int index) {
    if (fieldName_.isEmpty()) {
        notify(RecordChanged);
        return;
    }
    if (const Field* f = field(); f && f->index() == index)
        notify(RecordChanged);
}

void DataLink::notify(Changes changes) {
    if (quiet_ > 0)
        return;
    pending_ |= changes;
    if (control_->isVisible())
        deliver();
}

void DataLink::deliver() {
    if (!pending_)
        return;
    const Changes changes = pending_;
    pending_ = {};
    if (onChange)
        onChange(changes);
}

bool DataLink::eventFilter(QObject* watched, QEvent* event) {
    if (watched == control_ && event->type() == QEvent::Show)
        deliver();
    return false;
}

void DataLink::onFocusChanged(QWidget* old, QWidget* now) {
    // Another window (a message box, a popup) taking the focus is no leaving.
    if (!old || !now || now->window() != control_->window())
        return;
    const bool wasInside = old == control_ || control_->isAncestorOf(old);
    const bool isInside = now == control_ || control_->isAncestorOf(now);
    if (!wasInside || isInside || (holdExit && holdExit()))
        return;
    if (storeOnLeave_ && table_ && table_->isEditing())
        Guard::run([this] { table_->checkBrowseMode(); });
    Q_EMIT exited();
}

bool DataLink::leavesControl(const QFocusEvent* event) {
    const Qt::FocusReason r = event->reason();
    return r != Qt::PopupFocusReason && r != Qt::ActiveWindowFocusReason;
}

} // namespace vok

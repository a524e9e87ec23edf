#include "dbedit.h"

#include "datalink.h"
#include "framework/dataset/databaseerror.h"
#include "framework/dataset/field.h"
#include "framework/dataset/table.h"
#include "framework/ui/errorbox.h"
#include "framework/ui/guard.h"

#include <QFocusEvent>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QTimer>

namespace vok {

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent), link_(new DataLink(this)) {
    link_->onChange = [this](DataLink::Changes changes) {
        // A refused text survives a change of state and a read of the same record again (what
        // another installation stored shows in the record's other fields); another record
        // replaces it.
        if (hasInvalidText() && (!(changes & (DataLink::RecordChanged | DataLink::RowsChanged)) ||
                                 (!loadedKey_.isEmpty() && recordKey() == loadedKey_))) {
            const Field* f = link_->field();
            loaded_ = f && link_->isActive() ? f->value() : QVariant();
            return;
        }
        reload();
    };
    link_->holdExit = [this] { return hasInvalidText(); };
    // Not textEdited: a text set from outside the keyboard (an assistive tool's editable-text
    // interface, as dictation uses) must reach the field like typed text.
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!loading_)
            onTextEdited(text);
    });
}

void DBEdit::setDataSource(Table* table, const QString& fieldName) {
    link_->setTable(table);
    link_->setFieldName(fieldName);
    const Field* f = link_->field();
    {
        const QScopedValueRollback loading(loading_, true);
        setMaxLength(f && f->type() == FieldType::String && f->size() > 0 ? f->size() : 32767);
    }
    link_->deliver();
}

void DBEdit::reload() {
    invalidMessage_.clear();
    const Field* f = link_->field();
    QString text;
    if (f && link_->isActive())
        text = hasFocus() ? f->editText() : f->displayText();
    if (text != this->text()) {
        const QScopedValueRollback loading(loading_, true);
        setText(text);
    }
    setModified(false);
    loaded_ = f && link_->isActive() ? f->value() : QVariant();
    loadedKey_ = recordKey();
}

QVariantList DBEdit::recordKey() const {
    const Table* t = link_->table();
    QVariantList key;
    if (!t || !t->isActive() || t->isEmpty() || t->state() == Table::State::Insert)
        return key;
    for (const QString& name : t->indexFieldNames()) {
        const Field* f = t->findField(name);
        if (!f)
            return {};
        key << f->value();
    }
    return key;
}

void DBEdit::onTextEdited(const QString& text) {
    told_ = false;
    if (!link_->canModify()) {
        reload();
        return;
    }
    Guard::run([&] {
        Field& f = *link_->field();
        try {
            f.toStored(text);
        } catch (const DatabaseError& e) {
            if (e.kind() != DatabaseError::Kind::Convert)
                throw;
            // Kept in the control (the user may still be typing it); the field goes back to
            // what it held before, so a half-typed value is never stored.
            invalidMessage_ = refusal(e);
            link_->write([&] {
                if (f.value() != loaded_)
                    f.setValue(loaded_);
            });
            return;
        }
        invalidMessage_.clear();
        link_->write([&] { f.setAsString(text); });
    });
}

QString DBEdit::refusal(const DatabaseError& error) const {
    return error.message();
}

void DBEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (!hasInvalidText() && !isModified())
        reload();
}

void DBEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (!DataLink::leavesControl(event))
        return;
    if (hasInvalidText()) {
        told_ = false;
        reportRefusal();
    } else {
        reload();
    }
}

void DBEdit::reportRefusal() {
    // After the focus change has settled: the control takes the focus back and says why.
    ++reportsQueued_;
    QTimer::singleShot(0, this, [this] {
        if (--reportsQueued_ == 0 && hasInvalidText())
            takeBack();
    });
}

void DBEdit::takeBack() {
    if (isVisible())
        setFocus(Qt::OtherFocusReason);
    if (told_ || reporting_ || !hasInvalidText())
        return;
    told_ = true;
    reporting_ = true;
    const auto done = qScopeGuard([this] {
        reporting_ = false;
        // Said once for the action that met it (a click on the tree is met here and by the
        // tree after its selection delay); the next action hears it again.
        QTimer::singleShot(100, this, [this, told = ++timesTold_] {
            if (told == timesTold_)
                told_ = false;
        });
    });
    ErrorBox::show(invalidMessage_);
}

} // namespace vok

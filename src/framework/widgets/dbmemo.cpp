#include "dbmemo.h"

#include "datalink.h"
#include "framework/dataset/field.h"
#include "framework/dataset/table.h"
#include "framework/ui/guard.h"

#include <QScopeGuard>

namespace vok {

DBMemo::DBMemo(QWidget* parent) : QPlainTextEdit(parent), link_(new DataLink(this)) {
    setTabChangesFocus(true);
    link_->onChange = [this](DataLink::Changes) { reload(); };
    connect(this, &QPlainTextEdit::textChanged, this, &DBMemo::onTextChanged);
}

void DBMemo::setDataSource(Table* table, const QString& fieldName) {
    link_->setTable(table);
    link_->setFieldName(fieldName);
    link_->deliver();
}

void DBMemo::reload() {
    const Field* f = link_->field();
    const QString text = f && link_->isActive() ? f->asString() : QString();
    if (text == toPlainText())
        return;
    loading_ = true;
    const auto done = qScopeGuard([this] { loading_ = false; });
    setPlainText(text);
}

void DBMemo::onTextChanged() {
    if (loading_)
        return;
    if (!link_->canModify() || isReadOnly()) {
        reload();
        return;
    }
    const QString text = toPlainText();
    Guard::run([&] { link_->write([&] { link_->field()->setAsString(text); }); });
}

} // namespace vok

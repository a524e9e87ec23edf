#include "dbcombobox.h"

#include "framework/dataset/field.h"
#include "framework/dataset/table.h"
#include "framework/ui/guard.h"
#include "tablerows.h"

#include <QScopeGuard>

namespace vok {

DBComboBox::DBComboBox(QWidget* parent)
    : QComboBox(parent), link_(new DataLink(this)), listLink_(new DataLink(this)) {
    setEditable(false);
    link_->onChange = [this](DataLink::Changes changes) { boundChanged(changes); };
    listLink_->onChange = [this](DataLink::Changes changes) { listChanged(changes); };
    connect(this, &QComboBox::activated, this, &DBComboBox::onActivated);
}

void DBComboBox::setDataSource(Table* table, const QString& fieldName) {
    link_->setTable(table);
    link_->setFieldName(fieldName);
    link_->deliver();
}

void DBComboBox::setListSource(Table* listTable, const QString& listField) {
    listLink_->setTable(listTable);
    listLink_->setFieldName(listField);
    listLink_->deliver();
}

QStringList DBComboBox::items() const {
    QStringList out;
    for (int i = 0; i < count(); ++i)
        out << itemText(i);
    return out;
}

QString DBComboBox::boundValue() const {
    const Field* f = link_->field();
    return f && link_->isActive() ? f->asString() : QString();
}

QString DBComboBox::listValue() const {
    const Table* t = listLink_->table();
    const Field* f = listLink_->field();
    if (!f || !t->isActive() || t->isEmpty())
        return {};
    return f->asString();
}

int DBComboBox::boundIndex() const {
    return findText(boundValue(), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

void DBComboBox::showIndex(int index) {
    loading_ = true;
    const auto done = qScopeGuard([this] { loading_ = false; });
    setCurrentIndex(index);
}

void DBComboBox::reloadItems() {
    const QStringList values = TableRows::fieldTexts(listLink_->table(), listLink_->fieldName());
    if (values == items())
        return;
    loading_ = true;
    const auto done = qScopeGuard([this] { loading_ = false; });
    clear();
    addItems(values);
}

void DBComboBox::boundChanged(DataLink::Changes) {
    display();
}

void DBComboBox::listChanged(DataLink::Changes changes) {
    if (changes & DataLink::RowsChanged) {
        reloadItems();
        display();
    }
}

void DBComboBox::chosen(const QString&) {}

void DBComboBox::display() {
    const int index = boundIndex();
    setPlaceholderText(index < 0 ? boundValue() : QString());
    showIndex(index);
}

void DBComboBox::onActivated(int index) {
    if (loading_ || index < 0)
        return;
    if (!link_->canModify()) {
        display();
        return;
    }
    const QString text = itemText(index);
    if (Guard::run([&] { link_->write([&] { link_->field()->setAsString(text); }); }))
        chosen(text);
    display();
}

} // namespace vok

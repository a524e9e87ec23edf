#include "dblookupcombobox.h"

#include "framework/dataset/table.h"
#include "framework/ui/guard.h"

namespace vok {

DBLookupComboBox::DBLookupComboBox(QWidget* parent) : DBComboBox(parent) {}

void DBLookupComboBox::boundChanged(DataLink::Changes changes) {
    if (!link_->isActive())
        lastValue_.clear(); // reopened, the first record positions the list again
    const QString value = boundValue();
    if ((changes & (DataLink::RecordChanged | DataLink::RowsChanged)) && link_->isActive() &&
        value != lastValue_) {
        lastValue_ = value;
        position(value);
    }
    display();
}

void DBLookupComboBox::listChanged(DataLink::Changes changes) {
    const bool rowsChanged = changes & DataLink::RowsChanged;
    if (rowsChanged)
        reloadItems();
    // The list's master moved: the bound value may name a row of the new range.
    if (rowsChanged && link_->isActive() && listValue() != boundValue())
        position(boundValue());
    display();
}

void DBLookupComboBox::chosen(const QString& text) {
    lastValue_ = text;
    position(text);
}

void DBLookupComboBox::display() {
    showIndex(boundIndex());
}

void DBLookupComboBox::position(const QString& value) {
    Table* t = listLink_->table();
    if (value.isEmpty() || !listLink_->field() || !t->isActive() || listValue() == value)
        return;
    Guard::run([&] { t->locate(listLink_->fieldName(), value); });
}

} // namespace vok

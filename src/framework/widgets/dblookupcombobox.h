#pragma once

#include "dbcombobox.h"

namespace vok {

// A lookup list: the values of one field of a list record-set, the same text shown and stored.
// Choosing a value stores it into the bound field and positions the list record-set on the first
// row of that exact name. When the bound record changes to another value, and when the list's
// rows change (its master moved), the list record-set is positioned on the bound value again; a
// value that is not in the list leaves the record-set where it was and the list blank.
// A hidden list does nothing until it is shown, so a closed window never moves the record-sets.
class DBLookupComboBox : public DBComboBox {
    Q_OBJECT
public:
    explicit DBLookupComboBox(QWidget* parent = nullptr);

protected:
    void boundChanged(DataLink::Changes changes) override;
    void listChanged(DataLink::Changes changes) override;
    void chosen(const QString& text) override;
    void display() override;

private:
    void position(const QString& value);

    QString lastValue_;
};

} // namespace vok

#pragma once

#include "datalink.h"

#include <QComboBox>

namespace vok {

class Table;

// A drop-down list of the values of one field of another record-set (the members' names, say);
// the chosen text is stored into the bound field of the current record. The list is read from
// the other record-set without moving it, and follows its changes at once. A stored value that is
// not in the list still shows, greyed, in place of a choice.
class DBComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit DBComboBox(QWidget* parent = nullptr);

    void setDataSource(Table* table, const QString& fieldName);
    void setListSource(Table* listTable, const QString& listField);
    DataLink* dataLink() const { return link_; }
    DataLink* listLink() const { return listLink_; }
    // The texts offered, in the list record-set's order.
    QStringList items() const;

protected:
    virtual void boundChanged(DataLink::Changes changes);
    virtual void listChanged(DataLink::Changes changes);
    // The user chose a text; it is stored already.
    virtual void chosen(const QString& text);
    // Shows the bound value.
    virtual void display();

    QString boundValue() const;
    // The value of the list field in the list record-set's current record.
    QString listValue() const;
    void reloadItems();
    // Index of the bound value among the items, -1 when it is not there.
    int boundIndex() const;
    // Sets the shown item without reporting a choice.
    void showIndex(int index);

    DataLink* link_;
    DataLink* listLink_;

private:
    void onActivated(int index);

    bool loading_ = false;
};

} // namespace vok

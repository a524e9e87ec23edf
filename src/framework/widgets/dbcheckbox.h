#pragma once

#include <QCheckBox>

namespace vok {

class DataLink;
class Table;

// A check box of one field of the current record. A Boolean field is checked when true; a field
// of another type when its text is one of the checked values ("True" unless set otherwise).
// Clicking writes the field at once.
class DBCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit DBCheckBox(const QString& text = {}, QWidget* parent = nullptr);

    void setDataSource(Table* table, const QString& fieldName);
    DataLink* dataLink() const { return link_; }

    // Texts of a non-Boolean field meaning checked and unchecked, alternatives split by ";".
    // The first of each is the one written.
    void setValueChecked(const QString& values) { valueChecked_ = values; }
    void setValueUnchecked(const QString& values) { valueUnchecked_ = values; }
    void reload();

private:
    void onClicked(bool checked);

    DataLink* link_;
    QString valueChecked_ = QStringLiteral("True");
    QString valueUnchecked_ = QStringLiteral("False");
};

} // namespace vok

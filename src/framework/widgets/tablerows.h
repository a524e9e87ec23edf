#pragma once

#include "framework/dataset/table.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace vok {

// The rows a list control shows for a record-set: the records of its range, and while a record
// is being inserted, that new record at the place where it will stand.
class TableRows {
public:
    explicit TableRows(const Table* table = nullptr) : table_(table) {}
    void setTable(const Table* table) { table_ = table; }

    int count() const;
    // Row of the current record (or of the record being inserted); -1 when there is none.
    int currentRow() const;
    bool isInsertRow(int row) const;
    // Position in the range of the record shown at a row; -1 for the new record.
    int recordIndex(int row) const;
    // Stored value and shown text of a field at a row.
    QVariant value(int row, int fieldIndex) const;
    QString text(int row, int fieldIndex) const;
    // Text offered for typing at a row (no currency symbol).
    QString editText(int row, int fieldIndex) const;

    // The texts of one field over the records of a range, read without moving.
    static QStringList fieldTexts(const Table* table, const QString& fieldName);

private:
    int insertPosition() const;

    QPointer<const Table> table_;
};

} // namespace vok

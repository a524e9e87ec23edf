#pragma once

#include "tablerow.h"

#include <QList>
#include <vector>

namespace vok {

// A row changed by an update: its identity, its values as read and its values now (stored
// columns in record-set order).
struct RowChange {
    qint64 rowid = 0;
    QVector<QVariant> read;
    QVector<QVariant> values;
};

// Writes many rows of one table with one statement each: how an engine that is a round trip away
// takes a unit of work's row writes, which the record-sets hold back and send together. Every
// row must be written as given (an update or deletion only where the row still holds what was
// read), or the unit fails: the engine checks the count before its next read or the commit.
class RowSetWriter {
public:
    virtual ~RowSetWriter() = default;
    RowSetWriter(const RowSetWriter&) = delete;
    RowSetWriter& operator=(const RowSetWriter&) = delete;

    // New rows with the numbers taken for them ahead (AutoInc columns are not written).
    virtual void insert(const std::vector<TableRow>& rows) = 0;
    // Sets the given columns to each row's values.
    virtual void update(const QList<int>& columns, const std::vector<RowChange>& rows) = 0;
    // Rows as read.
    virtual void remove(const std::vector<TableRow>& rows) = 0;

protected:
    RowSetWriter() = default;
};

} // namespace vok

#pragma once

#include <QVariant>
#include <QVector>

namespace vok {

// One row of a record-set's range: its identity in the table and its values in stored form
// (stored fields first, then calculated ones).
struct TableRow {
    qint64 rowid = 0;
    QVector<QVariant> values;
    // The unit of work that read or wrote these values while it held the write lock (see
    // Store::lockedUnit); 0 when they were read outside one, and another user may have changed
    // the row since.
    quint64 unit = 0;
};

} // namespace vok

namespace vok {

// Order of stored values: empty first, numbers by value, text by characters.
int compareStored(const QVariant& a, const QVariant& b);

} // namespace vok

#pragma once

#include <QBitArray>
#include <QVariant>
#include <QVector>

namespace vok {

class Table;

// One row a record-set wrote, as it was before and as it is after, in stored form (the stored
// fields in record-set order; calculated fields are not kept). An insert has no `before`, a
// removal no `after`; an update says which fields it changed.
struct RowWrite {
    enum class Kind { Insert, Update, Remove };
    Kind kind = Kind::Update;
    qint64 rowid = 0;
    QVector<QVariant> before;
    QVector<QVariant> after;
    QBitArray changed;
};

// Hears every row a record-set wrote, once the write went through (see Table::setJournal): a
// history of changes is kept from it. Told nothing else, it costs the record-set nothing when none
// is set.
class RowJournal {
public:
    virtual ~RowJournal() = default;
    virtual void wrote(const Table& table, const RowWrite& write) = 0;

protected:
    RowJournal() = default;
    RowJournal(const RowJournal&) = default;
    RowJournal& operator=(const RowJournal&) = default;
};

} // namespace vok

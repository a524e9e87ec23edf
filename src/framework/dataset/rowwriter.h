#pragma once

#include "rowsetwriter.h"
#include "statement.h"
#include "tableref.h"

#include <QBitArray>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <QVector>
#include <functional>
#include <memory>
#include <vector>

namespace vok {

class Store;

// Writes a record-set's rows to its table. An insert reports the new row's identity; an update
// or a deletion changes the row only while it still holds every value that was read, so that
// nothing another user wrote since is overwritten or vanishes without a word.
//
// Inside a unit of work on an engine that writes rows in sets (a server), the writes are held
// back and go together: a row changed again and again is written once, and many rows go with one
// statement. The store sends them before anything else reads or writes the table, and before the
// unit ends; a refusal then fails the unit, which undoes it all.
class RowWriter {
public:
    // The table's stored columns in record-set order; AutoInc columns are never written.
    RowWriter(Store& store, const TableRef& ref, QStringList columns, QList<bool> autoInc);
    ~RowWriter();
    RowWriter(const RowWriter&) = delete;
    RowWriter& operator=(const RowWriter&) = delete;

    qlonglong insert(const QVector<QVariant>& values);
    // False when the row is gone or no longer holds `read`. `readLocked`: the row was read inside
    // the unit of work running now, which keeps every other writer out, so it is written by its
    // identity alone.
    bool update(qint64 rowid, const QVector<QVariant>& read, const QVector<QVariant>& values,
                const QBitArray& changed, bool readLocked = false);
    bool remove(qint64 rowid, const QVector<QVariant>& read, bool readLocked = false);
    // Removes every row whose named columns hold the given values (every row, when none is
    // named), in one statement; returns how many went.
    int removeWhere(const QStringList& columns, const QVariantList& values);
    // Puts a row back under the number it had (its AutoInc columns are taken from the row's
    // identity): a row removed before returns as it was, and what refers to it by number finds it
    // again. The number must be free; the engine refuses it otherwise.
    void restore(qint64 rowid, const QVector<QVariant>& values);
    // The row as stored now, by identity, into `values` (stored columns in record-set order);
    // false when there is no such row.
    bool read(qint64 rowid, QVector<QVariant>& values);

    const TableRef& table() const { return ref_; }
    bool holdsRows() const { return held_ != Held::Nothing; }
    // Whether a held row is, or was, one whose named columns hold the given values (any held
    // row, when no column is named).
    bool holdsRowsWhere(const QStringList& columns, const QVariantList& values) const;
    // Sends what is held back.
    void sendHeld();
    // Forgets what is held back: the unit is being undone.
    void dropHeld();

private:
    enum class Held { Nothing, Inserts, Updates, Deletes };
    // Rows held back before they go, so that a unit's writes to a table cost few statements.
    static constexpr size_t MaxHeld = 1000;

    Statement& statement(const QString& key, const std::function<QString()>& sql);
    // "rowid = ? AND column same-as ? ..." over every stored column.
    QString unchangedSql() const;
    int bindUnchanged(Statement& q, int from, qint64 rowid, const QVector<QVariant>& read) const;
    // Whether writes are held back now: inside a unit, on an engine that writes sets.
    bool holding();
    // Starts holding writes of a kind; what is held of another kind goes first.
    void hold(Held kind);
    // After a write was held: it counts as written, and a full set goes.
    void held(size_t count);
    QVector<QVariant> stored(const QVector<QVariant>& values) const;
    // Whether the given columns of a row may hold the values, as the engine compares them.
    static bool mayMatch(const QVector<QVariant>& row, const QList<int>& columns,
                         const QVariantList& values);
    // The held rows' values in the asked columns, for the asks of a walk between masters.
    void indexHeld(const QVector<QVariant>& row) const;
    void clearHeld();

    Store& store_;
    TableRef ref_;
    QStringList columns_;
    QList<bool> autoInc_;
    QString rowId_;
    QString same_;
    QHash<QString, std::shared_ptr<Statement>> statements_;

    std::unique_ptr<RowSetWriter> sets_;
    bool setsAsked_ = false;
    Held held_ = Held::Nothing;
    std::vector<TableRow> heldRows_;     // inserts and deletions
    std::vector<RowChange> heldChanges_; // updates, one per row
    QHash<qint64, size_t> heldChangeAt_; // a row's place in heldChanges_
    QBitArray heldColumns_;              // the columns the held updates change
    // The columns last asked about by name, and the held rows' keys in them.
    mutable QStringList askedNames_;
    mutable QList<int> askedColumns_;
    mutable QSet<QByteArray> heldKeys_;
    mutable bool keysIndexed_ = false;
    mutable bool keysExact_ = true; // every indexed value is a whole number or empty
};

} // namespace vok

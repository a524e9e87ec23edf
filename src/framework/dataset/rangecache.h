#pragma once

#include "store.h"
#include "tablerow.h"

#include <QByteArray>
#include <QHash>
#include <QVariantList>
#include <deque>
#include <vector>

namespace vok {

// The ranges a detail record-set has left or read ahead, by link key, reused while nothing but
// the record-set itself has written to its table: moving back and forth between masters, or
// walking them in order, then reads nothing again. Bounded in rows; the oldest go first.
class RangeCache {
public:
    static constexpr size_t MaxRows = 20000;

    // What had written when the cached rows were read.
    Store::Stamp stamp;

    void stash(const QVariantList& key, std::vector<TableRow>&& rows);
    bool take(const QVariantList& key, std::vector<TableRow>& rows);
    bool holds(const QByteArray& key) const { return ranges_.contains(key); }
    // The rows kept for a key, left in place; null when none are.
    const std::vector<TableRow>* find(const QVariantList& key) const;
    // Keys from `from` up to `to` (both included; an empty `to` is the table's end) were read
    // ahead: a key between them that has no rows cached has none in the table.
    void cover(const QVariantList& from, const QVariantList& to);
    bool covers(const QVariantList& key) const;
    // A range taken out is not coming back: a read-ahead that held it no longer tells.
    void forget(const QVariantList& key);
    // A walk went on from `left` to the later `next`: the range left is not kept, and what was
    // read ahead from `next` on still tells.
    void pass(const QVariantList& left, const QVariantList& next);
    void clear();
    bool isEmpty() const { return ranges_.isEmpty(); }

    // Order of link keys, as the table sorts them: empty first, numbers by value, text by
    // characters.
    static int compare(const QVariantList& a, const QVariantList& b);
    static QByteArray keyOf(const QVariantList& key);

private:
    QHash<QByteArray, std::vector<TableRow>> ranges_;
    std::deque<QByteArray> order_; // oldest first, for eviction
    size_t rows_ = 0;
    QVariantList coveredFrom_;
    QVariantList coveredTo_;
};

} // namespace vok

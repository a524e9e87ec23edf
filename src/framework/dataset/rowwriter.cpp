#include "rowwriter.h"

#include "rangecache.h"
#include "store.h"

#include <algorithm>
#include <utility>

namespace vok {

RowWriter::RowWriter(Store& store, const TableRef& ref, QStringList columns, QList<bool> autoInc)
    : store_(store), ref_(ref), columns_(std::move(columns)), autoInc_(std::move(autoInc)),
      rowId_(store.engine().rowId(ref)), same_(store.engine().sameValue()) {}

RowWriter::~RowWriter() {
    if (held_ == Held::Nothing)
        return;
    try {
        sendHeld();
    } catch (...) {
        // Rows of the unit that could not go: it must not commit without them (sendHeld told
        // the store).
    }
}

Statement& RowWriter::statement(const QString& key, const std::function<QString()>& sql) {
    auto it = statements_.find(key);
    if (it == statements_.end())
        it = statements_.insert(key, store_.statement(sql(), ref_));
    return **it;
}

QString RowWriter::unchangedSql() const {
    QStringList terms{rowId_ + QStringLiteral(" = ?")};
    for (const QString& c : columns_)
        terms << quotedName(c) + QLatin1Char(' ') + same_;
    return terms.join(QStringLiteral(" AND "));
}

int RowWriter::bindUnchanged(Statement& q, int from, qint64 rowid,
                             const QVector<QVariant>& read) const {
    q.bind(from++, rowid);
    for (int i = 0; i < columns_.size(); ++i)
        q.bind(from++, read[i]);
    return from;
}

QVector<QVariant> RowWriter::stored(const QVector<QVariant>& values) const {
    return values.mid(0, columns_.size());
}

bool RowWriter::holding() {
    if (!store_.holdsWrites())
        return false;
    if (!setsAsked_) {
        setsAsked_ = true;
        sets_ = store_.engine().rowSetWriter(ref_, columns_, autoInc_);
    }
    return sets_ != nullptr;
}

void RowWriter::hold(Held kind) {
    if (held_ == kind)
        return;
    sendHeld();
    // Another record-set's rows of this table go first, in the order they were written.
    store_.holding(*this);
    held_ = kind;
    heldColumns_ = QBitArray(static_cast<qsizetype>(columns_.size()));
}

void RowWriter::held(size_t count) {
    // Other record-sets of this table read it again, as after a statement.
    store_.noteWrite(ref_);
    if (count >= MaxHeld)
        sendHeld();
}

void RowWriter::sendHeld() {
    if (held_ == Held::Nothing)
        return;
    const Held kind = std::exchange(held_, Held::Nothing);
    store_.notHolding(*this);
    const std::vector<TableRow> rows = std::exchange(heldRows_, {});
    const std::vector<RowChange> changes = std::exchange(heldChanges_, {});
    clearHeld();
    try {
        switch (kind) {
        case Held::Inserts:
            sets_->insert(rows);
            break;
        case Held::Updates: {
            QList<int> changed;
            for (int i = 0; i < columns_.size(); ++i) {
                if (heldColumns_.testBit(i))
                    changed << i;
            }
            sets_->update(changed, changes);
            break;
        }
        case Held::Deletes:
            sets_->remove(rows);
            break;
        case Held::Nothing:
            break;
        }
    } catch (...) {
        store_.loseHeld();
        throw;
    }
}

bool RowWriter::mayMatch(const QVector<QVariant>& row, const QList<int>& columns,
                         const QVariantList& values) {
    const auto number = [](const QVariant& v) {
        const int t = v.typeId();
        return t == QMetaType::LongLong || t == QMetaType::Int || t == QMetaType::Double;
    };
    for (int k = 0; k < columns.size(); ++k) {
        const QVariant& a = row[columns[k]];
        const QVariant& b = values[k];
        // Values of one kind are told apart as the engine does; others may read as equal there
        // ("05" in a number column), so they count as a match.
        const bool sameKind = (number(a) && number(b)) || (a.typeId() == QMetaType::QString &&
                                                           b.typeId() == QMetaType::QString);
        if (sameKind && compareStored(a, b) != 0)
            return false;
    }
    return true;
}

namespace {

// Values whose keys are equal exactly when the engine finds them equal: whole numbers (the link
// fields' kind) and empty values. Text may read as a number in a number column.
bool exactKey(const QVariant& v) {
    const int t = v.typeId();
    return v.isNull() || t == QMetaType::LongLong || t == QMetaType::Int;
}

QByteArray keyAt(const QVector<QVariant>& row, const QList<int>& columns) {
    QVariantList values;
    for (int i : columns)
        values << row[i];
    return RangeCache::keyOf(values);
}

} // namespace

void RowWriter::indexHeld(const QVector<QVariant>& row) const {
    if (!keysIndexed_)
        return;
    for (int i : std::as_const(askedColumns_))
        keysExact_ = keysExact_ && exactKey(row[i]);
    heldKeys_.insert(keyAt(row, askedColumns_));
}

void RowWriter::clearHeld() {
    heldRows_.clear();
    heldChanges_.clear();
    heldChangeAt_.clear();
    heldKeys_.clear();
    keysIndexed_ = false;
    keysExact_ = true;
}

bool RowWriter::holdsRowsWhere(const QStringList& columns, const QVariantList& values) const {
    if (held_ == Held::Nothing)
        return false;
    if (columns != askedNames_) {
        QList<int> positions;
        for (const QString& name : columns) {
            const auto it = std::find_if(columns_.begin(), columns_.end(), [&](const QString& c) {
                return c.compare(name, Qt::CaseInsensitive) == 0;
            });
            if (it == columns_.end())
                return true; // not a column this writer knows: it cannot tell
            positions << static_cast<int>(it - columns_.begin());
        }
        askedNames_ = columns;
        askedColumns_ = positions;
        heldKeys_.clear();
        keysIndexed_ = false;
        keysExact_ = true;
    }
    if (askedColumns_.isEmpty())
        return true;
    if (!keysIndexed_) {
        keysIndexed_ = true;
        for (const TableRow& row : heldRows_)
            indexHeld(row.values);
        for (const RowChange& row : heldChanges_) {
            indexHeld(row.read);
            indexHeld(row.values);
        }
    }
    if (keysExact_ && std::all_of(values.begin(), values.end(), exactKey))
        return heldKeys_.contains(RangeCache::keyOf(values));
    for (const TableRow& row : heldRows_) {
        if (mayMatch(row.values, askedColumns_, values))
            return true;
    }
    for (const RowChange& row : heldChanges_) {
        if (mayMatch(row.read, askedColumns_, values) ||
            mayMatch(row.values, askedColumns_, values))
            return true;
    }
    return false;
}

void RowWriter::dropHeld() {
    held_ = Held::Nothing;
    clearHeld();
}

qlonglong RowWriter::insert(const QVector<QVariant>& values) {
    // With its number taken ahead, the row waits to go with the unit's other new rows.
    if (holding()) {
        if (const qlonglong id = store_.engine().reserveRowId(ref_); id != 0) {
            hold(Held::Inserts);
            heldRows_.push_back(TableRow{id, stored(values)});
            indexHeld(heldRows_.back().values);
            held(heldRows_.size());
            return id;
        }
    }
    // The SQL text is built only the first time; the statement is kept.
    QList<int> positions;
    for (int i = 0; i < columns_.size(); ++i) {
        if (!autoInc_[i])
            positions << i;
    }
    Statement& q = statement(QStringLiteral("insert"), [&] {
        QStringList cols;
        QStringList marks;
        for (int i : positions) {
            cols << quotedName(columns_[i]);
            marks << QStringLiteral("?");
        }
        return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)%4")
            .arg(ref_.sql(), cols.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")),
                 store_.engine().returningRowId(ref_));
    });
    q.reset();
    for (int k = 0; k < positions.size(); ++k)
        q.bind(k, values[positions[k]]);
    q.run();
    return q.lastInsertId();
}

bool RowWriter::update(qint64 rowid, const QVector<QVariant>& read, const QVector<QVariant>& values,
                       const QBitArray& changed, bool readLocked) {
    QList<int> positions;
    QString key = readLocked ? QStringLiteral("update-locked:") : QStringLiteral("update:");
    for (int i = 0; i < columns_.size(); ++i) {
        if (!changed.testBit(i))
            continue;
        positions << i;
        key += QString::number(i) + QLatin1Char(',');
    }
    if (positions.isEmpty())
        return true;
    if (holding()) {
        if (held_ == Held::Updates) {
            if (const auto at = heldChangeAt_.constFind(rowid); at != heldChangeAt_.constEnd()) {
                RowChange& row = heldChanges_[*at];
                // Changed again from what this record-set wrote: still one write of the row.
                if (row.values == stored(read)) {
                    row.values = stored(values);
                    indexHeld(row.values);
                    for (int i : positions)
                        heldColumns_.setBit(i);
                    held(0);
                    return true;
                }
                sendHeld();
            }
        }
        hold(Held::Updates);
        heldChangeAt_.insert(rowid, heldChanges_.size());
        heldChanges_.push_back(RowChange{rowid, stored(read), stored(values)});
        indexHeld(heldChanges_.back().read);
        indexHeld(heldChanges_.back().values);
        for (int i : positions)
            heldColumns_.setBit(i);
        held(heldChanges_.size());
        return true;
    }
    Statement& q = statement(key, [&] {
        QStringList sets;
        for (int i : positions)
            sets << quotedName(columns_[i]) + QStringLiteral(" = ?");
        return QStringLiteral("UPDATE %1 SET %2 WHERE %3")
            .arg(ref_.sql(), sets.join(QStringLiteral(", ")),
                 readLocked ? rowId_ + QStringLiteral(" = ?") : unchangedSql());
    });
    q.reset();
    int k = 0;
    for (int i : positions)
        q.bind(k++, values[i]);
    if (readLocked)
        q.bind(k, rowid);
    else
        bindUnchanged(q, k, rowid, read);
    return q.run() == 1;
}

bool RowWriter::remove(qint64 rowid, const QVector<QVariant>& read, bool readLocked) {
    if (holding()) {
        hold(Held::Deletes);
        heldRows_.push_back(TableRow{rowid, stored(read)});
        indexHeld(heldRows_.back().values);
        held(heldRows_.size());
        return true;
    }
    if (readLocked) {
        Statement& q = statement(QStringLiteral("delete-locked"), [this] {
            return QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(ref_.sql(), rowId_);
        });
        q.reset();
        q.bind(0, rowid);
        return q.run() == 1;
    }
    Statement& q = statement(QStringLiteral("delete"), [this] {
        return QStringLiteral("DELETE FROM %1 WHERE %2").arg(ref_.sql(), unchangedSql());
    });
    q.reset();
    bindUnchanged(q, 0, rowid, read);
    return q.run() == 1;
}

void RowWriter::restore(qint64 rowid, const QVector<QVariant>& values) {
    // Held with its number, as a new row whose number was taken ahead.
    if (holding()) {
        hold(Held::Inserts);
        heldRows_.push_back(TableRow{rowid, stored(values)});
        indexHeld(heldRows_.back().values);
        held(heldRows_.size());
        return;
    }
    QList<int> positions;
    for (int i = 0; i < columns_.size(); ++i) {
        if (!autoInc_[i])
            positions << i;
    }
    Statement& q = statement(QStringLiteral("restore"), [&] {
        QStringList cols{rowId_};
        QStringList marks{QStringLiteral("?")};
        for (int i : positions) {
            cols << quotedName(columns_[i]);
            marks << QStringLiteral("?");
        }
        return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(ref_.sql(), cols.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    });
    q.reset();
    q.bind(0, rowid);
    for (int k = 0; k < positions.size(); ++k)
        q.bind(k + 1, values[positions[k]]);
    q.run();
}

bool RowWriter::read(qint64 rowid, QVector<QVariant>& values) {
    Statement& q = statement(QStringLiteral("read"), [this] {
        QStringList cols;
        for (const QString& c : columns_)
            cols << quotedName(c);
        return QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
            .arg(cols.join(QStringLiteral(", ")), ref_.sql(), rowId_);
    });
    q.reset();
    q.bind(0, rowid);
    const bool found = q.step();
    if (found) {
        values.resize(columns_.size());
        for (int i = 0; i < columns_.size(); ++i)
            values[i] = q.value(i);
    }
    q.reset();
    return found;
}

int RowWriter::removeWhere(const QStringList& columns, const QVariantList& values) {
    // Rows held back go first: they may be among those the statement removes.
    sendHeld();
    QString key = QStringLiteral("delete-where:") + columns.join(QLatin1Char(','));
    Statement& q = statement(key, [&] {
        QStringList terms;
        for (const QString& c : columns)
            terms << quotedName(c) + QStringLiteral(" = ?");
        return terms.isEmpty() ? QStringLiteral("DELETE FROM %1").arg(ref_.sql())
                               : QStringLiteral("DELETE FROM %1 WHERE %2")
                                     .arg(ref_.sql(), terms.join(QStringLiteral(" AND ")));
    });
    q.reset();
    for (int i = 0; i < values.size(); ++i)
        q.bind(i, values[i]);
    return q.run();
}

} // namespace vok

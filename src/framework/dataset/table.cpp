#include "table.h"

#include "databaseerror.h"

#include <QSet>
#include <QVarLengthArray>
#include <algorithm>

namespace vok {

namespace {

const QVariant nullValue;

} // namespace

// Points field reads at a row that is not the current one (filtering, calculating) and restores
// the cursor's view afterwards, also when the handler throws.
class Table::ScratchScope {
public:
    ScratchScope(Table& t, Row& row) : t_(t), saved_(t.scratch_) { t_.scratch_ = &row; }
    ~ScratchScope() { t_.scratch_ = saved_; }
    ScratchScope(const ScratchScope&) = delete;
    ScratchScope& operator=(const ScratchScope&) = delete;

private:
    Table& t_;
    Row* saved_;
};

Table::Table(Store* store, const QString& name, QObject* parent) : QObject(parent), store_(store) {
    setObjectName(name);
    connect(store_, &Store::rolledBack, this, &Table::onRolledBack);
    connect(store_, &Store::aboutToClose, this, &Table::close);
}

Table::~Table() {
    if (master_)
        master_->details_.removeAll(this);
    for (Table* d : std::as_const(details_))
        d->master_ = nullptr;
    releaseQueries();
    if (resolved_)
        store_->release(ref_);
}

// ---------------------------------------------------------------- definition

void Table::setTableName(const QString& fileName) {
    if (isActive())
        throw DatabaseError::datasetOpen();
    tableName_ = fileName;
}

void Table::setFieldDefs(const QList<FieldDef>& defs) {
    if (isActive())
        throw DatabaseError::datasetOpen();
    fields_.clear();
    byName_.clear();
    for (const FieldDef& d : defs) {
        const int i = static_cast<int>(fields_.size());
        fields_.push_back(std::make_unique<Field>(this, i, d, false));
        nameField(d.name, i);
    }
    storedCount_ = static_cast<int>(fields_.size());
}

void Table::addCalculatedField(const FieldDef& def) {
    if (isActive())
        throw DatabaseError::datasetOpen();
    const int i = static_cast<int>(fields_.size());
    fields_.push_back(std::make_unique<Field>(this, i, def, true));
    nameField(def.name, i);
}

void Table::nameField(const QString& name, int index) {
    // Any spelling finds the field; the one code uses, as defined, without a lower-case copy.
    byName_.insert(name.toLower(), index);
    byName_.insert(name, index);
}

void Table::setIndexFieldNames(const QStringList& fields) {
    if (isActive())
        throw DatabaseError::datasetOpen();
    indexFields_ = fields;
}

void Table::setMaster(Table* master, const QStringList& masterFields) {
    if (isActive())
        throw DatabaseError::datasetOpen();
    if (master_)
        master_->details_.removeAll(this);
    master_ = master;
    masterFields_ = masterFields;
    if (master_)
        master_->details_.append(this);
}

Field& Table::field(int index) const {
    if (index < 0 || index >= fieldCount())
        throw DatabaseError(QStringLiteral("%1: field index out of range").arg(objectName()));
    return *fields_[static_cast<size_t>(index)];
}

Field* Table::findField(const QString& name) const {
    if (const auto exact = byName_.constFind(name); exact != byName_.constEnd())
        return fields_[static_cast<size_t>(*exact)].get();
    const auto it = byName_.constFind(name.toLower());
    return it == byName_.constEnd() ? nullptr : fields_[static_cast<size_t>(*it)].get();
}

Field& Table::fieldByName(const QString& name) const {
    if (Field* f = findField(name))
        return *f;
    throw DatabaseError(QStringLiteral("%1: Field '%2' not found").arg(objectName(), name));
}

QStringList Table::fieldNames() const {
    QStringList names;
    for (const auto& f : fields_)
        names << f->name();
    return names;
}

// ---------------------------------------------------------------- open and close

void Table::buildSql() {
    QStringList cols{rowId_};
    for (int i = 0; i < storedCount_; ++i)
        cols << quotedName(fields_[static_cast<size_t>(i)]->name());
    columnList_ = cols.join(QStringLiteral(", "));

    QString where;
    if (master_) {
        QStringList terms;
        for (int i = 0; i < masterFields_.size(); ++i)
            terms << quotedName(indexFields_.value(i)) + QStringLiteral(" = ?");
        where = QStringLiteral(" WHERE ") + terms.join(QStringLiteral(" AND "));
    }
    QStringList order;
    for (const QString& f : indexFields_)
        order << quotedName(f);
    order << rowId_;
    selectSql_ = QStringLiteral("SELECT %1 FROM %2%3 ORDER BY %4")
                     .arg(columnList_, ref_.sql(), where, order.join(QStringLiteral(", ")));
    if (master_) {
        // The ranges from a master's key on, in key order, so many masters' rows in one read.
        QStringList link;
        QStringList marks;
        for (int i = 0; i < masterFields_.size(); ++i) {
            link << quotedName(indexFields_.value(i));
            marks << QStringLiteral("?");
        }
        const QString from = link.size() == 1 ? link.first() + QStringLiteral(" >= ?")
                                              : QStringLiteral("(%1) >= (%2)")
                                                    .arg(link.join(QStringLiteral(", ")),
                                                         marks.join(QStringLiteral(", ")));
        // A server answers with its change counter too: the walk then needs no look of its own
        // for a while.
        QString columns = columnList_;
        if (const QString counter = store_->engine().counterColumn(); !counter.isEmpty())
            columns += QStringLiteral(", ") + counter;
        aheadSql_ = QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %4 LIMIT ?")
                        .arg(columns, ref_.sql(), from, order.join(QStringLiteral(", ")));
    }
}

void Table::open() {
    if (isActive())
        return;
    if (master_ && masterFields_.size() > indexFields_.size())
        throw DatabaseError(QStringLiteral("%1: a detail needs index fields for its master link")
                                .arg(objectName()));
    ref_ = store_->resolve(tableName_);
    resolved_ = true;
    try {
        const QStringList cols = store_->columns(ref_);
        for (int i = 0; i < storedCount_; ++i) {
            const QString& name = fields_[static_cast<size_t>(i)]->name();
            const bool present = std::any_of(cols.begin(), cols.end(), [&](const QString& c) {
                return c.compare(name, Qt::CaseInsensitive) == 0;
            });
            if (!present)
                throw DatabaseError(
                    QStringLiteral("Field '%1' not found in table %2").arg(name, tableName_),
                    DatabaseError::Kind::Engine);
        }
        masterPos_.clear();
        for (const QString& mf : master_ ? masterFields_ : QStringList())
            masterPos_ << master_->fieldByName(mf).index();
        indexPos_.clear();
        integerIndex_ = true;
        linksIntegers_ = true;
        for (const QString& f : indexFields_) {
            Field& fld = fieldByName(f);
            indexPos_ << fld.index();
            const bool number =
                fld.type() == FieldType::Integer || fld.type() == FieldType::AutoInc;
            if (!number) {
                integerIndex_ = false;
                if (indexPos_.size() <= masterFields_.size())
                    linksIntegers_ = false;
            }
        }
        forwardMoves_ = 0;
        rowId_ = store_->engine().rowId(ref_);
        QStringList columns;
        QList<bool> autoInc;
        for (int i = 0; i < storedCount_; ++i) {
            columns << fields_[static_cast<size_t>(i)]->name();
            autoInc << (fields_[static_cast<size_t>(i)]->type() == FieldType::AutoInc);
        }
        writer_ = std::make_unique<RowWriter>(*store_, ref_, columns, autoInc);
        buildSql();
    } catch (...) {
        store_->release(ref_);
        resolved_ = false;
        throw;
    }
    rows_.clear();
    cur_ = -1;
    eof_ = bof_ = true;
    loaded_ = false;
    stale_ = true;
    partial_ = false;
    forceReload_ = relocate_ = false;
    changed_ = QBitArray(storedCount_);
    setState(State::Browse);
    invalidateDetails(true, true);
    notifyData();
}

void Table::close() {
    if (!isActive())
        return;
    // Rows held back inside a unit of work go before the writer does.
    if (writer_)
        writer_->sendHeld();
    cache_.clear();
    releaseQueries();
    rows_.clear();
    unfiltered_.clear();
    unfilteredStamp_.reset();
    locateIndex_.clear();
    buffer_ = Row{};
    modified_ = false;
    insertAt_ = -1;
    cur_ = -1;
    eof_ = bof_ = true;
    loaded_ = false;
    partial_ = false;
    if (resolved_) {
        store_->release(ref_);
        resolved_ = false;
    }
    setState(State::Inactive);
    invalidateDetails(true, true);
    notifyData();
}

void Table::releaseQueries() {
    statements_.clear();
    writer_.reset();
}

Statement& Table::cachedStatement(const QString& key, const std::function<QString()>& sql,
                                  bool callerSends) const {
    auto it = statements_.find(key);
    if (it == statements_.end())
        it = statements_.insert(
            key, std::shared_ptr<Statement>(store_->statement(sql(), ref_, callerSends)));
    return **it;
}

// ---------------------------------------------------------------- range cache

bool Table::cachesRanges() const {
    return master_ && !filtered_ && storedCount_ == fieldCount() &&
           ref_.schema == store_->engine().mainSchema();
}

bool Table::sameLink(const Row& a, const Row& b) const {
    for (int i = 0; i < masterPos_.size() && i < indexPos_.size(); ++i) {
        if (compareStored(a.values[indexPos_[i]], b.values[indexPos_[i]]) != 0)
            return false;
    }
    return true;
}

QVariantList Table::linkKeyOf(const Row& row) const {
    QVariantList key;
    for (int i = 0; i < masterPos_.size() && i < indexPos_.size(); ++i)
        key << row.values[indexPos_[i]];
    return key;
}

void Table::keepCacheAfterOwnWrite(quint64 writesBefore, quint64 otherBefore, bool rangesChanged) {
    if (!cachesRanges())
        return;
    if (rangesChanged || cache_.stamp.table != writesBefore || cache_.stamp.other != otherBefore) {
        cache_.clear();
        return;
    }
    // Only this record-set wrote, to its current range, which it keeps up to date itself.
    cache_.stamp.table = store_->tableWrites(ref_);
}

void Table::notifyData() {
    if (controlsDisabled_ > 0) {
        heldNotice_ = true;
        return;
    }
    Q_EMIT dataChanged();
    Q_EMIT currentChanged();
}

void Table::notifyMoved() {
    if (controlsDisabled_ > 0) {
        heldNotice_ = true;
        return;
    }
    Q_EMIT currentChanged();
}

void Table::disableControls() {
    ++controlsDisabled_;
}

void Table::enableControls() {
    if (controlsDisabled_ == 0 || --controlsDisabled_ > 0 || !heldNotice_)
        return;
    heldNotice_ = false;
    Q_EMIT stateChanged();
    Q_EMIT dataChanged();
    Q_EMIT currentChanged();
}

void Table::setState(State s) {
    if (state_ == s)
        return;
    state_ = s;
    if (controlsDisabled_ > 0)
        heldNotice_ = true;
    else
        Q_EMIT stateChanged();
}

void Table::requireActive() const {
    if (!isActive())
        throw DatabaseError::datasetClosed();
}

// ---------------------------------------------------------------- reading the range

QVariantList Table::masterKey() const {
    QVariantList key;
    if (!master_ || !master_->isActive())
        return key;
    master_->ensureCurrent();
    if (!master_->isEditing() && master_->cur_ < 0)
        return key;
    for (int pos : masterPos_)
        key << master_->rawValue(pos);
    return key;
}

bool Table::keyUsable(const QVariantList& key) {
    if (key.isEmpty())
        return false;
    return std::none_of(key.begin(), key.end(), [](const QVariant& v) { return v.isNull(); });
}

void Table::ensureCurrent() const {
    if (state_ == State::Inactive || !stale_)
        return;
    auto* self = const_cast<Table*>(this);
    if (self->master_ && !self->forceReload_ && self->loaded_ && !self->partial_ &&
        self->masterKey() == self->loadedKey_) {
        self->stale_ = false;
        return;
    }
    self->loadRange(self->relocate_);
}

void Table::ensureFull() const {
    ensureCurrent();
    if (partial_)
        const_cast<Table*>(this)->loadRange(true);
}

void Table::loadRange(bool keepPosition) {
    seenWrites_ = store_->tableWrites(ref_);
    const qint64 keepId = (keepPosition && cur_ >= 0 && cur_ < static_cast<int>(rows_.size()))
                              ? rows_[static_cast<size_t>(cur_)].rowid
                              : -1;
    const int keepIndex = cur_;
    const QVariantList key = master_ ? masterKey() : QVariantList();

    // A walk: the master stands on the record after the one this range was last read for, or
    // on the first record of its own next range in a walk of its master.
    const int masterRow = master_ ? master_->cur_ : -1;
    const bool walked =
        masterRow > 0 ? masterRow == lastMasterRow_ + 1 : masterRow == 0 && master_->walked_;
    lastMasterRow_ = masterRow;
    walked_ = walked;
    const bool onward = walked && keyUsable(key) && keyUsable(loadedKey_) &&
                        RangeCache::compare(key, loadedKey_) > 0;

    std::vector<Row> rows;
    bool cached = false;
    if (cachesRanges()) {
        const Store::Stamp now = store_->stamp(ref_);
        // A range read again on purpose is read anew. The ranges left before stay good if nothing
        // has written since they were read, which inside a unit of work the stamp tells exactly
        // (its lock is taken after the last look at the other users' commits).
        const bool unchanged =
            now == cache_.stamp && (!forceReload_ || store_->transactionDepth() > 0);
        if (unchanged) {
            // A walk seldom comes back: what it leaves behind goes at once, while the memory is
            // still warm, rather than pushing out ranges the user moved between.
            if (onward)
                cache_.pass(loadedKey_, key);
            else if (keyUsable(loadedKey_) && loadedKey_ != key && loaded_ && !partial_ &&
                     !outdated_)
                cache_.stash(loadedKey_, std::move(rows_));
            else if (keyUsable(loadedKey_))
                cache_.forget(loadedKey_); // not kept, or read again: a read-ahead no longer tells
        } else {
            cache_.clear();
            cache_.stamp = now;
        }
        cached = keyUsable(key) && (cache_.take(key, rows) || cache_.covers(key));
    }
    if (!cached && (!master_ || keyUsable(key))) {
        // Worth it where a statement is a round trip away; a local file reads a range as fast.
        const bool forward = onward && store_->isServer() && cachesRanges() && linksIntegers_;
        forwardMoves_ = forward ? forwardMoves_ + 1 : 0;
        if (!forward || !readAhead(key, rows))
            readRange(key, rows);
    }
    rows_ = std::move(rows);
    locateIndex_.clear();
    loadedKey_ = key;
    loaded_ = true;
    partial_ = false;
    outdated_ = false;
    stale_ = false;
    forceReload_ = false;
    relocate_ = false;

    cur_ = rows_.empty() ? -1 : 0;
    if (keepPosition && !rows_.empty()) {
        const auto it = std::find_if(rows_.begin(), rows_.end(),
                                     [&](const Row& r) { return r.rowid == keepId; });
        if (it != rows_.end())
            cur_ = static_cast<int>(it - rows_.begin());
        else
            cur_ = std::clamp(keepIndex, 0, static_cast<int>(rows_.size()) - 1);
    }
    bof_ = rows_.empty() || !keepPosition;
    eof_ = rows_.empty();
    invalidateDetails(false, false);
}

void Table::readRange(const QVariantList& key, std::vector<Row>& rows) {
    // Rows held back for this table are written first where they are, or were, in this range:
    // moving between masters inside a unit of work leaves the others held.
    store_->sendHeld(ref_, indexFields_.mid(0, key.size()), key);
    // Fewer values than the link has: the ranges of every master that begins with them.
    const bool prefix = master_ && key.size() < masterFields_.size();
    const QString narrowing = filtered_ && !master_ && narrowText_ ? narrowText_() : QString();
    if (!narrowing.isEmpty()) {
        Statement& q = cachedStatement(
            QStringLiteral("narrowed"),
            [&] {
                return QString(selectSql_)
                    .replace(
                        QStringLiteral(" ORDER BY "),
                        QStringLiteral(" WHERE %1 = ? ORDER BY ").arg(quotedName(narrowField_)));
            },
            true);
        q.reset();
        q.bind(0, narrowing);
        readRows(q, rows);
        return;
    }
    Statement& q =
        prefix ? cachedStatement(
                     QStringLiteral("select:%1").arg(key.size()),
                     [&] {
                         QStringList terms;
                         for (int i = 0; i < key.size(); ++i)
                             terms << quotedName(indexFields_[i]) + QStringLiteral(" = ?");
                         QStringList order;
                         for (const QString& f : indexFields_)
                             order << quotedName(f);
                         order << rowId_;
                         return QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %4")
                             .arg(columnList_, ref_.sql(), terms.join(QStringLiteral(" AND ")),
                                  order.join(QStringLiteral(", ")));
                     },
                     true)
               : cachedStatement(
                     QStringLiteral("select"), [this] { return selectSql_; }, true);
    q.reset();
    for (int i = 0; i < key.size(); ++i)
        q.bind(i, key[i]);
    readRows(q, rows);
}

void Table::readRows(Statement& q, std::vector<Row>& rows) {
    try {
        while (q.step()) {
            Row r = readRow(q);
            if (acceptRow(r))
                rows.push_back(std::move(r));
        }
    } catch (...) {
        q.reset();
        throw;
    }
    q.reset();
}

Table::Row Table::readRow(Statement& q) {
    Row r;
    r.rowid = q.int64(0);
    r.unit = store_->lockedUnit();
    r.values.reserve(fieldCount());
    for (int i = 0; i < storedCount_; ++i)
        r.values.emplaceBack(q.value(i + 1));
    r.values.resize(fieldCount());
    computeCalcFields(r);
    return r;
}

void Table::readKeys(const QList<QVariantList>& keys, std::vector<Row>& rows) {
    // Rows held back for this table go first: the ranges are read as this connection wrote them.
    store_->sendHeld(ref_);
    // A fixed number of keys a statement, the last repeated to fill it: one prepared statement
    // serves every read.
    constexpr int PerStatement = 50;
    const int width = static_cast<int>(keys.first().size());
    Statement& q = cachedStatement(QStringLiteral("ranges:%1").arg(width), [&] {
        QStringList link;
        for (int i = 0; i < width; ++i)
            link << quotedName(indexFields_[i]);
        // The first link field alone leads the engine to its index; the whole keys follow.
        QStringList marks;
        for (int k = 0; k < PerStatement; ++k)
            marks << QStringLiteral("?");
        QString where =
            QStringLiteral("%1 IN (%2)").arg(link.first(), marks.join(QStringLiteral(", ")));
        if (width > 1) {
            const QString one =
                QStringLiteral("(%1 = ?)").arg(link.join(QStringLiteral(" = ? AND ")));
            QStringList terms;
            for (int k = 0; k < PerStatement; ++k)
                terms << one;
            where += QStringLiteral(" AND (%1)").arg(terms.join(QStringLiteral(" OR ")));
        }
        QStringList order;
        for (const QString& f : indexFields_)
            order << quotedName(f);
        order << rowId_;
        return QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %4")
            .arg(columnList_, ref_.sql(), where, order.join(QStringLiteral(", ")));
    });
    for (qsizetype from = 0; from < keys.size(); from += PerStatement) {
        q.reset();
        for (int k = 0; k < PerStatement; ++k)
            q.bind(k, keys[std::min(from + k, keys.size() - 1)].first());
        for (int k = 0; width > 1 && k < PerStatement; ++k) {
            const QVariantList& key = keys[std::min(from + k, keys.size() - 1)];
            for (int i = 0; i < width; ++i)
                q.bind(PerStatement + k * width + i, key[i]);
        }
        readRows(q, rows);
    }
}

void Table::readRanges(const QList<QVariantList>& masterKeys) {
    requireActive();
    if (!cachesRanges() || masterKeys.isEmpty())
        return;
    store_->sendHeld(ref_); // before the stamp: what they write counts in it
    const Store::Stamp now = store_->stamp(ref_);
    if (!(now == cache_.stamp)) {
        cache_.clear();
        cache_.stamp = now;
        outdated_ = loaded_;
    }
    // The range shown and the ranges kept may hold this record-set's own changes: they stay.
    const QByteArray shown = loaded_ && !partial_ && keyUsable(loadedKey_)
                                 ? RangeCache::keyOf(loadedKey_)
                                 : QByteArray();
    const auto keep = [&](const QByteArray& key) { return key != shown && !cache_.holds(key); };
    QHash<qsizetype, QList<QVariantList>> byWidth;
    QSet<QByteArray> asked;
    for (const QVariantList& masterKey : masterKeys) {
        const QVariantList key = storedKeys(masterKey);
        if (!keyUsable(key) || key.size() > masterFields_.size())
            continue;
        const QByteArray bytes = RangeCache::keyOf(key);
        if (!keep(bytes) || asked.contains(bytes))
            continue;
        asked.insert(bytes);
        byWidth[key.size()] << key;
    }
    for (const QList<QVariantList>& keys : std::as_const(byWidth)) {
        std::vector<Row> read;
        readKeys(keys, read);
        const bool whole = keys.first().size() == masterFields_.size();
        for (size_t i = 0; i < read.size();) {
            size_t j = i + 1;
            while (j < read.size() && sameLink(read[j], read[i]))
                ++j;
            const QVariantList link = linkKeyOf(read[i]);
            const QByteArray bytes = RangeCache::keyOf(link);
            if (keep(bytes)) {
                cache_.stash(
                    link, std::vector<Row>(std::make_move_iterator(read.begin() + qsizetype(i)),
                                           std::make_move_iterator(read.begin() + qsizetype(j))));
            }
            if (whole)
                asked.remove(bytes);
            i = j;
        }
        // A whole key read without rows names a range without rows.
        if (whole) {
            for (const QVariantList& key : keys) {
                const QByteArray bytes = RangeCache::keyOf(key);
                if (asked.contains(bytes) && keep(bytes))
                    cache_.stash(key, {});
            }
        }
    }
}

bool Table::readAhead(const QVariantList& key, std::vector<Row>& rows) {
    // The window grows while the walk goes on, as a file system reads ahead, up to about a
    // thousand rows: a hundred masters' ranges a round trip, still in the processor's cache when
    // the walk reaches them (larger windows were slower to walk).
    aheadRows_ = forwardMoves_ <= 1 ? 256 : std::min(aheadRows_ * 2, 1024);
    Statement& q = cachedStatement(QStringLiteral("ahead"), [this] { return aheadSql_; });
    q.reset();
    for (int i = 0; i < key.size(); ++i)
        q.bind(i, key[i]);
    q.bind(static_cast<int>(key.size()), aheadRows_);
    std::vector<Row> read;
    read.reserve(static_cast<size_t>(aheadRows_));
    const int n = storedCount_;
    const bool counted = q.columnCount() > n + 1;
    const quint64 unit = store_->lockedUnit();
    try {
        while (q.step()) {
            if (counted && read.empty())
                store_->engine().counterRead(q.int64(n + 1));
            Row& r = read.emplace_back();
            r.rowid = q.int64(0);
            r.unit = unit;
            r.values.reserve(n);
            for (int i = 0; i < n; ++i)
                r.values.emplaceBack(q.value(i + 1));
        }
    } catch (...) {
        q.reset();
        throw;
    }
    q.reset();
    // A full window may end inside a range: only the ranges before its last key are whole.
    const bool toTheEnd = static_cast<int>(read.size()) < aheadRows_;
    size_t end = read.size();
    if (!toTheEnd) {
        while (end > 0 && sameLink(read[end - 1], read.back()))
            --end;
        if (end == 0)
            return false;
    }
    QVariantList upTo = key;
    for (size_t i = 0; i < end;) {
        const QVariantList group = linkKeyOf(read[i]);
        size_t j = i + 1;
        while (j < end && sameLink(read[j], read[i]))
            ++j;
        std::vector<Row> range(std::make_move_iterator(read.begin() + static_cast<qsizetype>(i)),
                               std::make_move_iterator(read.begin() + static_cast<qsizetype>(j)));
        if (RangeCache::compare(group, key) == 0)
            rows = std::move(range);
        else
            cache_.stash(group, std::move(range));
        upTo = group;
        i = j;
    }
    cache_.cover(key, toTheEnd ? QVariantList() : upTo);
    return true;
}

void Table::invalidateDetails(bool force, bool notify) {
    if (details_.isEmpty())
        return;
    // Every detail below this table, level by level; called at every move, so kept off the heap.
    QVarLengthArray<Table*, 32> all(details_.begin(), details_.end());
    for (qsizetype i = 0; i < all.size(); ++i)
        all.append(all[i]->details_.constData(), all[i]->details_.size());
    for (Table* d : all) {
        d->stale_ = true;
        if (force)
            d->forceReload_ = true;
    }
    if (!notify)
        return;
    for (Table* d : all) {
        if (!d->isActive())
            continue;
        d->notifyData();
    }
}

void Table::computeCalcFields(Row& row) {
    if (!onCalcFields || storedCount_ == fieldCount())
        return;
    for (int i = storedCount_; i < fieldCount(); ++i)
        row.values[i] = QVariant();
    ScratchScope scope(*this, row);
    onCalcFields(*this);
}

bool Table::acceptRow(Row& row) {
    if (!filtered_ || !onFilterRecord)
        return true;
    ScratchScope scope(*this, row);
    return onFilterRecord(*this);
}

void Table::setFiltered(bool on) {
    if (filtered_ == on)
        return;
    if (isActive()) {
        checkBrowseMode();
        checkDetailsBrowseMode();
    }
    filtered_ = on;
    cache_.clear();
    if (!isActive())
        return;
    // The whole range is kept while the filter shows a part of it: turning the filter off again
    // then reads nothing, however many records the table holds.
    const bool keep =
        on && !master_ && loaded_ && !partial_ && !stale_ && storedCount_ == fieldCount();
    std::optional<Store::Stamp> kept;
    if (keep) {
        unfiltered_ = std::move(rows_);
        kept = store_->stamp(ref_);
    }
    if (!on && unfilteredStamp_ && store_->stamp(ref_) == *unfilteredStamp_) {
        rows_ = std::move(unfiltered_);
        seenWrites_ = store_->tableWrites(ref_);
        locateIndex_.clear();
        cur_ = rows_.empty() ? -1 : 0;
        bof_ = true;
        eof_ = rows_.empty();
    } else {
        loadRange(false);
    }
    if (!on) {
        unfiltered_.clear();
        unfilteredStamp_.reset();
    }
    if (kept)
        unfilteredStamp_ = kept;
    invalidateDetails(true, true);
    rowsChanged();
}

void Table::setFilterNarrowing(const QString& fieldName, std::function<QString()> text) {
    narrowField_ = fieldName;
    narrowText_ = std::move(text);
}

void Table::rowsChanged() {
    locateIndex_.clear();
    notifyData();
    if (onAfterScroll)
        onAfterScroll(*this);
}

void Table::refresh() {
    requireActive();
    checkBrowseMode();
    checkDetailsBrowseMode();
    forceReload_ = true;
    loadRange(true);
    invalidateDetails(true, true);
    rowsChanged();
}

bool Table::readStored(qint64 rowid, QVector<QVariant>& values) {
    Statement& q = cachedStatement(QStringLiteral("byrowid"), [this] {
        return QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
            .arg(columnList_, ref_.sql(), rowId_);
    });
    q.reset();
    q.bind(0, rowid);
    if (!q.step()) {
        q.reset();
        return false;
    }
    for (int i = 0; i < storedCount_; ++i)
        values[i] = q.value(i + 1);
    q.reset();
    return true;
}

void Table::dropCurrentRow() {
    rows_.erase(rows_.begin() + cur_);
    if (cur_ >= static_cast<int>(rows_.size()))
        cur_ = static_cast<int>(rows_.size()) - 1;
    eof_ = bof_ = rows_.empty();
    invalidateDetails(false, true);
    rowsChanged();
}

bool Table::refreshRecord() {
    requireActive();
    ensureCurrent();
    if (isEditing() || cur_ < 0)
        return cur_ >= 0;
    Row& row = rows_[static_cast<size_t>(cur_)];
    QVector<QVariant> fresh = row.values;
    if (!readStored(row.rowid, fresh)) {
        Q_EMIT recordGone(false);
        return false;
    }
    for (int i = 0; i < storedCount_; ++i) {
        if (fresh[i] != row.values[i]) {
            // Only the searches over a field whose value changed need their index again.
            locateIndex_.remove(i);
            row.values[i] = std::move(fresh[i]);
        }
    }
    row.unit = store_->lockedUnit();
    computeCalcFields(row);
    for (int i = storedCount_; i < fieldCount(); ++i)
        locateIndex_.remove(i);
    notifyMoved();
    return true;
}

void Table::onRolledBack() {
    cache_.clear();
    if (!isActive())
        return;
    // What was posted inside the undone unit is gone from the store; a pending change was made
    // against values that no longer hold, so it is dropped rather than written later.
    buffer_ = Row{};
    modified_ = false;
    insertAt_ = -1;
    if (isEditing())
        setState(State::Browse);
    stale_ = true;
    forceReload_ = true;
    relocate_ = true;
    notifyData();
}

// ---------------------------------------------------------------- navigation

void Table::checkDetailsBrowseMode() {
    for (Table* d : std::as_const(details_)) {
        if (!d->isActive())
            continue;
        d->checkBrowseMode();
        d->checkDetailsBrowseMode();
    }
}

void Table::beforeMove() {
    requireActive();
    ensureCurrent();
    checkBrowseMode();
    checkDetailsBrowseMode();
    if (partial_)
        loadRange(true);
}

void Table::afterMove() {
    invalidateDetails(false, true);
    notifyMoved();
    if (onAfterScroll)
        onAfterScroll(*this);
}

bool Table::eof() const {
    if (!isActive())
        return true;
    ensureCurrent();
    return eof_;
}

bool Table::bof() const {
    if (!isActive())
        return true;
    ensureCurrent();
    return bof_;
}

bool Table::isEmpty() const {
    if (!isActive())
        return true;
    ensureCurrent();
    return rows_.empty();
}

int Table::recordCount() const {
    if (!isActive())
        return 0;
    ensureFull();
    return static_cast<int>(rows_.size());
}

int Table::recNo() const {
    if (!isActive())
        return -1;
    ensureFull();
    return cur_;
}

void Table::keepSeenAfterOwnWrite(quint64 writesBefore) {
    if (seenWrites_ == writesBefore)
        seenWrites_ = store_->tableWrites(ref_);
}

void Table::catchUp() {
    if (master_ || !loaded_ || isEditing() || store_->tableWrites(ref_) == seenWrites_)
        return;
    forceReload_ = true;
    loadRange(true);
    invalidateDetails(true, true);
    rowsChanged();
}

void Table::first() {
    catchUp();
    beforeMove();
    cur_ = rows_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = rows_.empty();
    afterMove();
}

void Table::last() {
    catchUp();
    beforeMove();
    cur_ = static_cast<int>(rows_.size()) - 1;
    eof_ = true;
    bof_ = rows_.empty();
    afterMove();
}

void Table::next() {
    beforeMove();
    if (cur_ + 1 < static_cast<int>(rows_.size())) {
        ++cur_;
        bof_ = false;
        eof_ = false;
        afterMove();
    } else {
        eof_ = true;
    }
}

void Table::prior() {
    beforeMove();
    if (cur_ > 0) {
        --cur_;
        bof_ = false;
        eof_ = false;
        afterMove();
    } else {
        bof_ = true;
    }
}

void Table::moveTo(int row) {
    beforeMove();
    if (rows_.empty())
        return;
    const int target = std::clamp(row, 0, static_cast<int>(rows_.size()) - 1);
    const bool moved = target != cur_;
    cur_ = target;
    bof_ = false;
    eof_ = false;
    if (moved)
        afterMove();
}

QVariantList Table::storedKeys(const QVariantList& keys) const {
    QVariantList out;
    for (int i = 0; i < keys.size() && i < indexPos_.size(); ++i)
        out << field(indexPos_[i]).toStored(keys[i]);
    return out;
}

int Table::keyPosition(const QVariantList& keys) const {
    const QVariantList key = storedKeys(keys);
    const int n = static_cast<int>(key.size());
    if (n == 0)
        return -1;
    const auto cmp = [&](const Row& r) {
        for (int i = 0; i < n; ++i) {
            if (const int c = compareStored(r.values[indexPos_[i]], key[i]); c != 0)
                return c;
        }
        return 0;
    };
    if (integerIndex_) {
        const auto it = std::lower_bound(rows_.begin(), rows_.end(), 0,
                                         [&](const Row& r, int) { return cmp(r) < 0; });
        if (it != rows_.end() && cmp(*it) == 0)
            return static_cast<int>(it - rows_.begin());
        return -1;
    }
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (cmp(rows_[i]) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

bool Table::staysOn(int pos, const QList<int>& searched) const {
    // Found where it stands: nothing moves, so a pending edit stays pending (it is posted when
    // the table really moves), unless the edit changed what was searched.
    if (pos < 0 || pos != cur_ || partial_ || state_ == State::Insert)
        return false;
    if (state_ == State::Edit) {
        for (int i : searched) {
            if (i < storedCount_ && changed_.testBit(i))
                return false;
        }
    }
    return true;
}

bool Table::findKey(const QVariantList& keys) {
    requireActive();
    catchUp();
    ensureCurrent();
    if (!partial_ && staysOn(keyPosition(keys), indexPos_.mid(0, keys.size())))
        return true;
    beforeMove();
    const int pos = keyPosition(keys);
    if (pos < 0)
        return false;
    cur_ = pos;
    bof_ = eof_ = false;
    afterMove();
    return true;
}

int Table::positionOf(const Field& f, const QVariant& value) const {
    if (f.type() == FieldType::String || f.type() == FieldType::Memo) {
        // Exact, case-sensitive match of the text; an empty field matches empty text.
        const QString wanted = value.toString();
        if (rows_.size() <= SmallRange) {
            // A detail's few rows are read through faster than an index is built.
            for (size_t i = 0; i < rows_.size(); ++i) {
                const QVariant& v = rows_[i].values[f.index()];
                if (v.typeId() == QMetaType::QString
                        ? *static_cast<const QString*>(v.constData()) == wanted
                        : v.toString() == wanted)
                    return static_cast<int>(i);
            }
            return -1;
        }
        auto it = locateIndex_.find(f.index());
        if (it == locateIndex_.end()) {
            QHash<QString, int> index;
            index.reserve(static_cast<qsizetype>(rows_.size()));
            for (int i = static_cast<int>(rows_.size()) - 1; i >= 0; --i)
                index.insert(rows_[static_cast<size_t>(i)].values[f.index()].toString(), i);
            it = locateIndex_.insert(f.index(), index);
        }
        return it->value(wanted, -1);
    }
    const QVariant stored = f.toStored(value);
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (compareStored(rows_[i].values[f.index()], stored) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

int Table::rowOf(const QString& fieldName, const QVariant& value) const {
    const Field& f = fieldByName(fieldName);
    if (!isActive())
        return -1;
    ensureFull();
    return positionOf(f, value);
}

bool Table::locate(const QString& fieldName, const QVariant& value) {
    const Field& f = fieldByName(fieldName);
    requireActive();
    catchUp();
    ensureCurrent();
    if (!partial_ && staysOn(positionOf(f, value), {f.index()}))
        return true;
    beforeMove();
    const int pos = positionOf(f, value);
    if (pos < 0)
        return false;
    cur_ = pos;
    bof_ = eof_ = false;
    afterMove();
    return true;
}

// ---------------------------------------------------------------- reading fields

const QVariant& Table::rawValue(int fieldIndex) const {
    if (scratch_)
        return scratch_->values[fieldIndex];
    if (isEditing())
        return buffer_.values[fieldIndex];
    if (!isActive())
        return nullValue;
    ensureCurrent();
    if (cur_ < 0)
        return nullValue;
    return rows_[static_cast<size_t>(cur_)].values[fieldIndex];
}

const QVariant& Table::valueAt(int row, int fieldIndex) const {
    if (!isActive())
        return nullValue;
    ensureFull();
    if (row < 0 || row >= static_cast<int>(rows_.size()) || fieldIndex < 0 ||
        fieldIndex >= fieldCount())
        return nullValue;
    if (state_ == State::Edit && row == cur_)
        return buffer_.values[fieldIndex];
    return rows_[static_cast<size_t>(row)].values[fieldIndex];
}

QVariant Table::lookup(const QVariantList& keys, const QString& resultField) const {
    const Field& result = fieldByName(resultField);
    if (keys.isEmpty() || keys.size() > indexFields_.size() || result.isCalculated())
        return {};
    const QVariantList key = storedKeys(keys);
    if (!keyUsable(key))
        return {};
    if (isActive() && !stale_ && loaded_ && !partial_) {
        // The loaded range holds every record whose link fields equal the loaded key.
        const int linked = static_cast<int>(loadedKey_.size());
        bool inRange = key.size() >= linked;
        for (int i = 0; inRange && i < linked; ++i)
            inRange = compareStored(key[i], loadedKey_[i]) == 0;
        if (inRange && !filtered_) {
            const int pos = keyPosition(keys);
            return pos < 0 ? QVariant() : rows_[static_cast<size_t>(pos)].values[result.index()];
        }
    }
    QStringList terms;
    for (int i = 0; i < key.size(); ++i)
        terms << quotedName(indexFields_[i]) + QStringLiteral(" = ?");
    const auto read = [&](const TableRef& ref, Statement& q) {
        q.reset();
        for (int i = 0; i < key.size(); ++i)
            q.bind(i, key[i]);
        QVariant out = q.step() ? q.value(0) : QVariant();
        q.reset();
        Q_UNUSED(ref);
        return out;
    };
    const auto sqlFor = [&](const TableRef& ref) {
        return QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %4 LIMIT 1")
            .arg(quotedName(result.name()), ref.sql(), terms.join(QStringLiteral(" AND ")),
                 store_->engine().rowId(ref));
    };
    if (resolved_) {
        Statement& q =
            cachedStatement(QStringLiteral("lookup:%1:%2").arg(result.index()).arg(key.size()),
                            [&] { return sqlFor(ref_); });
        return read(ref_, q);
    }
    const TableRef ref = store_->resolve(tableName_);
    QVariant out;
    try {
        const auto q = store_->statement(sqlFor(ref), ref);
        out = read(ref, *q);
    } catch (...) {
        store_->release(ref);
        throw;
    }
    store_->release(ref);
    return out;
}

// ---------------------------------------------------------------- editing

void Table::startInsert(int position) {
    const int total = fieldCount();
    buffer_ = Row{};
    buffer_.values.resize(total);
    changed_ = QBitArray(storedCount_);
    if (master_) {
        // The link fields come from the master before the new-record rule runs.
        const QVariantList key = masterKey();
        for (int i = 0; i < key.size() && i < indexPos_.size(); ++i) {
            buffer_.values[indexPos_[i]] = key[i];
            changed_.setBit(indexPos_[i]);
        }
    }
    insertAt_ = position;
    setState(State::Insert);
    if (onNewRecord)
        onNewRecord(*this);
    modified_ = false;
    computeCalcFields(buffer_);
    notifyData();
}

void Table::insert() {
    requireActive();
    ensureCurrent();
    checkBrowseMode();
    checkDetailsBrowseMode();
    startInsert(partial_ || !loaded_ ? -1 : std::max(cur_, 0));
}

void Table::append() {
    requireActive();
    // Appending reads none of the rows: a range not read since opening is read at the next move.
    if (loaded_)
        ensureCurrent();
    checkBrowseMode();
    checkDetailsBrowseMode();
    startInsert(partial_ || !loaded_ ? -1 : static_cast<int>(rows_.size()));
}

void Table::edit() {
    requireActive();
    ensureCurrent();
    if (isEditing())
        return;
    if (cur_ < 0) {
        // Editing an empty view starts a new record.
        insert();
        return;
    }
    buffer_ = rows_[static_cast<size_t>(cur_)];
    changed_ = QBitArray(storedCount_);
    modified_ = false;
    setState(State::Edit);
}

void Table::setRawValue(Field& f, const QVariant& stored) {
    const int i = f.index();
    if (f.isCalculated()) {
        if (scratch_) {
            scratch_->values[i] = stored;
            return;
        }
        if (!isEditing())
            throw DatabaseError::notEditing();
        buffer_.values[i] = stored;
        if (controlsDisabled_ > 0)
            heldNotice_ = true;
        else
            Q_EMIT fieldChanged(i);
        return;
    }
    if (f.isReadOnly())
        throw DatabaseError(QStringLiteral("Field '%1' cannot be modified").arg(f.name()));
    if (!isEditing() || scratch_)
        throw DatabaseError::notEditing();
    buffer_.values[i] = stored;
    changed_.setBit(i);
    modified_ = true;
    if (controlsDisabled_ > 0)
        heldNotice_ = true;
    else
        Q_EMIT fieldChanged(i);
    f.changed();
}

int Table::compareRowKeys(const Row& a, const Row& b) const {
    for (int p : indexPos_) {
        if (const int c = compareStored(a.values[p], b.values[p]); c != 0)
            return c;
    }
    return a.rowid < b.rowid ? -1 : (a.rowid > b.rowid ? 1 : 0);
}

int Table::sortedPosition(const Row& row) const {
    const auto it =
        std::upper_bound(rows_.begin(), rows_.end(), row,
                         [&](const Row& a, const Row& b) { return compareRowKeys(a, b) < 0; });
    return static_cast<int>(it - rows_.begin());
}

void Table::post() {
    requireActive();
    if (!isEditing())
        throw DatabaseError::notEditing();
    const bool inserting = state_ == State::Insert;
    bool keyChanged = inserting;
    const quint64 writesBefore = store_->tableWrites(ref_);
    const quint64 otherBefore = store_->otherWrites();
    const quint64 unit = store_->lockedUnit();
    if (inserting) {
        buffer_.rowid = writer_->insert(buffer_.values);
        for (int i = 0; i < storedCount_; ++i) {
            if (fields_[static_cast<size_t>(i)]->type() == FieldType::AutoInc)
                buffer_.values[i] = qlonglong(buffer_.rowid);
        }
    } else if (changed_.count(true) > 0) {
        for (int i : std::as_const(indexPos_)) {
            if (i < storedCount_ && changed_.testBit(i))
                keyChanged = true;
        }
        const Row& read = rows_[static_cast<size_t>(cur_)];
        if (!writer_->update(read.rowid, read.values, buffer_.values, changed_, readLocked(read)))
            postOverTheirs();
        // Over what the row held when it was written: another user's values, after a merge.
        if (journal_)
            journalWrite(RowWrite::Kind::Update, read.rowid,
                         rows_[static_cast<size_t>(cur_)].values, buffer_.values);
    }
    if (inserting && journal_)
        journalWrite(RowWrite::Kind::Insert, buffer_.rowid, {}, buffer_.values);
    // What this unit wrote stays as written until it ends.
    buffer_.unit = unit;

    keepSeenAfterOwnWrite(writesBefore);
    // A row that left or joined a range other than the current one makes cached ranges wrong.
    keepCacheAfterOwnWrite(
        writesBefore, otherBefore,
        keyChanged && (!loaded_ || partial_ || stale_ || linkKeyOf(buffer_) != loadedKey_));
    computeCalcFields(buffer_);
    // The exact-match indexes stay valid for fields this post did not change, as long as no row
    // moved; an inserted or moved row shifts the rows after it.
    if (inserting || keyChanged) {
        locateIndex_.clear();
    } else {
        for (int i = 0; i < fieldCount(); ++i) {
            if (i >= storedCount_ || changed_.testBit(i))
                locateIndex_.remove(i); // calculated fields were computed again
        }
    }
    if (inserting) {
        if (loaded_ && !partial_ && !stale_) {
            const int pos = sortedPosition(buffer_);
            rows_.insert(rows_.begin() + pos, std::move(buffer_));
            cur_ = pos;
        } else {
            // Appending reads none of the rows: the range is read at the next move.
            rows_.clear();
            rows_.push_back(std::move(buffer_));
            cur_ = 0;
            partial_ = true;
            loaded_ = true;
            stale_ = false;
            loadedKey_ = master_ ? masterKey() : QVariantList();
        }
    } else if (cur_ >= 0) {
        rows_[static_cast<size_t>(cur_)] = std::move(buffer_);
        if (keyChanged && !indexPos_.isEmpty() && !partial_) {
            Row moved = std::move(rows_[static_cast<size_t>(cur_)]);
            rows_.erase(rows_.begin() + cur_);
            if (master_ && linkKeyOf(moved) != loadedKey_) {
                // It now belongs to another master: it leaves this range.
                if (cur_ >= static_cast<int>(rows_.size()))
                    cur_ = static_cast<int>(rows_.size()) - 1;
            } else {
                const int pos = sortedPosition(moved);
                rows_.insert(rows_.begin() + pos, std::move(moved));
                cur_ = pos;
            }
        }
    }
    buffer_ = Row{};
    changed_ = QBitArray(storedCount_);
    modified_ = false;
    insertAt_ = -1;
    eof_ = bof_ = rows_.empty();
    setState(State::Browse);
    invalidateDetails(false, keyChanged);
    notifyData();
}

void Table::cancel() {
    if (!isEditing())
        return;
    buffer_ = Row{};
    changed_ = QBitArray(storedCount_);
    modified_ = false;
    insertAt_ = -1;
    setState(State::Browse);
    eof_ = bof_ = rows_.empty();
    notifyData();
}

void Table::checkBrowseMode() {
    if (!isEditing())
        return;
    if (modified_)
        post();
    else
        cancel();
}

void Table::deleteRecord() {
    requireActive();
    ensureFull();
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    if (rows_.empty() || cur_ < 0)
        throw DatabaseError::emptyDataset();
    if (state_ == State::Edit)
        cancel();
    checkDetailsBrowseMode();
    const quint64 writesBefore = store_->tableWrites(ref_);
    const quint64 otherBefore = store_->otherWrites();
    const Row& read = rows_[static_cast<size_t>(cur_)];
    if (!writer_->remove(read.rowid, read.values, readLocked(read)))
        refuseDeletion();
    if (journal_)
        journalWrite(RowWrite::Kind::Remove, read.rowid, read.values, {});
    keepSeenAfterOwnWrite(writesBefore);
    keepCacheAfterOwnWrite(writesBefore, otherBefore, false);
    rows_.erase(rows_.begin() + cur_);
    if (cur_ < static_cast<int>(rows_.size())) {
        eof_ = false;
    } else if (!rows_.empty()) {
        cur_ = static_cast<int>(rows_.size()) - 1;
        eof_ = true;
    } else {
        cur_ = -1;
        eof_ = bof_ = true;
    }
    invalidateDetails(false, true);
    rowsChanged();
}

void Table::journalWrite(RowWrite::Kind kind, qint64 rowid, const QVector<QVariant>& before,
                         const QVector<QVariant>& after) const {
    RowWrite w;
    w.kind = kind;
    w.rowid = rowid;
    w.before = before.mid(0, storedCount_);
    w.after = after.mid(0, storedCount_);
    if (kind == RowWrite::Kind::Update)
        w.changed = changed_;
    journal_->wrote(*this, w);
}

bool Table::readLocked(const Row& row) const {
    const quint64 unit = store_->lockedUnit();
    return unit != 0 && row.unit == unit;
}

void Table::deleteAll() {
    requireActive();
    ensureFull();
    if (state_ == State::Insert)
        cancel();
    if (rows_.empty())
        return;
    const bool whole =
        details_.isEmpty() && !filtered_ &&
        std::all_of(rows_.begin(), rows_.end(), [&](const Row& r) { return readLocked(r); });
    if (!whole) {
        while (!isEmpty())
            deleteRecord();
        return;
    }
    if (state_ == State::Edit)
        cancel();
    const quint64 writesBefore = store_->tableWrites(ref_);
    const quint64 otherBefore = store_->otherWrites();
    const QStringList link = indexFields_.mid(0, loadedKey_.size());
    // Nobody else has written since the range was read: it is still exactly these rows.
    if (writer_->removeWhere(link, loadedKey_) != static_cast<int>(rows_.size()))
        throw DatabaseError::changedByAnotherUser();
    if (journal_) {
        for (const Row& r : rows_)
            journalWrite(RowWrite::Kind::Remove, r.rowid, r.values, {});
    }
    keepSeenAfterOwnWrite(writesBefore);
    keepCacheAfterOwnWrite(writesBefore, otherBefore, false);
    rows_.clear();
    cur_ = -1;
    eof_ = bof_ = true;
    rowsChanged();
}

std::vector<TableRow> Table::rangeOf(const QVariantList& masterKey) const {
    std::vector<Row> rows;
    if (!isActive())
        return rows;
    const QVariantList key = storedKeys(masterKey);
    if (master_ && (!keyUsable(key) || key.size() > masterFields_.size()))
        return rows;
    // Inside a unit of work a range kept since it was left, while nothing else has written, is
    // as the store holds it.
    if (cachesRanges() && store_->transactionDepth() > 0 && !cache_.isEmpty() &&
        store_->stamp(ref_) == cache_.stamp) {
        if (const std::vector<Row>* kept = cache_.find(key))
            return *kept;
    }
    const_cast<Table*>(this)->readRange(key, rows);
    return rows;
}

std::vector<TableRow> Table::rangesOf(const QList<QVariantList>& masterKeys) const {
    std::vector<Row> rows;
    if (!isActive() || masterKeys.isEmpty())
        return rows;
    QList<QVariantList> keys;
    for (const QVariantList& masterKey : masterKeys) {
        QVariantList key = storedKeys(masterKey);
        if (!master_ || !keyUsable(key) || key.size() > masterFields_.size())
            continue;
        if (!keys.isEmpty() && key.size() != keys.first().size())
            throw DatabaseError(QStringLiteral("The keys of one read give as many values each"));
        keys << std::move(key);
    }
    if (!keys.isEmpty())
        const_cast<Table*>(this)->readKeys(keys, rows);
    return rows;
}

void Table::postOverTheirs() {
    Row& read = rows_[static_cast<size_t>(cur_)];
    // Each round reads the row as the other side left it; a third writer between the read and
    // the write only costs another round.
    for (int round = 0; round < 5; ++round) {
        QVector<QVariant> now = read.values;
        if (!readStored(read.rowid, now)) {
            // Nothing is left to store the change into. The cursor stays where the user put it:
            // moving on to the next record would have the next keystroke land there.
            cancel();
            Q_EMIT recordGone(true);
            throw DatabaseError::deletedByAnotherUser();
        }
        QStringList clashes;
        for (int i = 0; i < storedCount_; ++i) {
            const bool theirs = compareStored(now[i], read.values[i]) != 0;
            if (!theirs)
                continue;
            // A field typed back to what was read is no change of this user's: theirs stands.
            const bool mine =
                changed_.testBit(i) && compareStored(buffer_.values[i], read.values[i]) != 0;
            if (mine && compareStored(now[i], buffer_.values[i]) != 0) {
                const Field& f = *fields_[static_cast<size_t>(i)];
                clashes << DatabaseError::clashText(f.displayLabel(), f.displayTextOf(now[i]),
                                                    f.displayTextOf(buffer_.values[i]));
            }
            if (!mine) {
                buffer_.values[i] = now[i];
                changed_.clearBit(i);
            }
        }
        // From here the record as read is the one the other side left: the user has now seen it.
        for (int i = 0; i < storedCount_; ++i)
            read.values[i] = now[i];
        computeCalcFields(read);
        locateIndex_.clear();
        if (!clashes.isEmpty()) {
            // The typed values stay in the edit buffer; posting again stores them over theirs.
            computeCalcFields(buffer_);
            notifyData();
            throw DatabaseError::changedOnBothSides(clashes);
        }
        if (writer_->update(read.rowid, read.values, buffer_.values, changed_))
            return;
    }
    throw DatabaseError::changedByAnotherUser();
}

void Table::refuseDeletion() {
    if (refreshRecord())
        throw DatabaseError::changedByAnotherUser();
    // What was to be deleted is gone: it leaves the view as a deletion would have it leave.
    dropCurrentRow();
    throw DatabaseError::deletedByAnotherUser();
}

bool Table::refreshUnchangedFields(const QList<int>& keep) {
    requireActive();
    if (state_ == State::Insert)
        return true;
    if (state_ != State::Edit)
        return refreshRecord();
    Row& read = rows_[static_cast<size_t>(cur_)];
    QVector<QVariant> now = read.values;
    if (!readStored(read.rowid, now))
        return false;
    QList<int> taken;
    for (int i = 0; i < storedCount_; ++i) {
        if (changed_.testBit(i) || keep.contains(i) || compareStored(now[i], read.values[i]) == 0)
            continue;
        read.values[i] = now[i];
        buffer_.values[i] = std::move(now[i]);
        locateIndex_.remove(i);
        taken << i;
    }
    if (taken.isEmpty())
        return true;
    computeCalcFields(read);
    computeCalcFields(buffer_);
    for (int i = storedCount_; i < fieldCount(); ++i) {
        locateIndex_.remove(i);
        taken << i;
    }
    if (controlsDisabled_ > 0) {
        heldNotice_ = true;
        return true;
    }
    // Each control of a field taken reads it again; the others, the one the user types into
    // among them, are not disturbed.
    for (int i : std::as_const(taken))
        Q_EMIT fieldChanged(i);
    return true;
}

} // namespace vok

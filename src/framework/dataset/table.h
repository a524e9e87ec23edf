#pragma once

#include "field.h"
#include "rangecache.h"
#include "rowjournal.h"
#include "rowwriter.h"
#include "statement.h"
#include "store.h"
#include "tabledef.h"
#include "tablerow.h"

#include <QBitArray>
#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace vok {

// A record-set: a cursor over the current range of one table file. It holds only the rows of
// its range (a detail: the rows of its master's current record; with the filter on: the rows
// the filter accepts), reads them when first used, and posts changes through the store.
//
// Rules the windows rely on:
// - before the table moves, a pending insert or edit is posted when something was changed,
//   dropped otherwise; a detail does the same before it follows its master;
// - editing an empty view inserts;
// - refusals are DatabaseError with the layer's fixed texts.
class Table : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };

    Table(Store* store, const QString& name, QObject* parent = nullptr);
    ~Table() override;

    Store* store() const { return store_; }

    // --- definition (only while closed) ---
    void setTableName(const QString& fileName);
    const QString& tableName() const { return tableName_; }
    void setFieldDefs(const QList<FieldDef>& fields);
    void addCalculatedField(const FieldDef& def);
    // Order of the rows and key of keyed searches; the leading fields are the link fields of a
    // detail. Empty: the table's own order (order of entry).
    void setIndexFieldNames(const QStringList& fields);
    const QStringList& indexFieldNames() const { return indexFields_; }
    // Makes this table a detail: its leading index fields equal the master's given fields.
    void setMaster(Table* master, const QStringList& masterFields);
    Table* master() const { return master_; }
    const QList<Table*>& details() const { return details_; }

    // --- events of the data module ---
    std::function<void(Table&)> onNewRecord;
    std::function<void(Table&)> onCalcFields;
    std::function<bool(Table&)> onFilterRecord;
    std::function<void(Table&)> onAfterScroll;

    // Every row this record-set writes is told to the journal once it is written (none: nothing
    // is told). The journal outlives the record-set or is taken away first.
    void setJournal(RowJournal* journal) { journal_ = journal; }
    RowJournal* journal() const { return journal_; }

    void setFiltered(bool on);
    // With the filter on, a text field that every record the filter accepts holds a given text
    // in (when `text` gives one): a record-set without a master reads only those records, and
    // the filter looks at them as ever. A report on one project then reads one project.
    void setFilterNarrowing(const QString& fieldName, std::function<QString()> text);
    bool isFiltered() const { return filtered_; }

    // --- open and close ---
    void open();
    void close();
    bool isActive() const { return state_ != State::Inactive; }
    State state() const { return state_; }
    bool isEditing() const { return state_ == State::Edit || state_ == State::Insert; }
    bool isModified() const { return modified_; }

    // --- navigation ---
    void first();
    void last();
    void next();
    void prior();
    bool eof() const;
    bool bof() const;
    bool isEmpty() const;
    int recordCount() const;
    // Position of the current record in the range, from 0; -1 when empty.
    int recNo() const;
    void moveTo(int row);
    // Keyed search on the leading index fields, within the current range.
    bool findKey(const QVariantList& keys);
    // First record of the range whose field equals the value exactly.
    bool locate(const QString& fieldName, const QVariant& value);
    // Re-reads the range and stays on the same record where it still exists.
    void refresh();
    // Re-reads the current record from the store: cheap, for showing what another installation
    // stored since (when a node is selected, before a change that must not overwrite another
    // user's). Does nothing while editing. False when the record is gone: the record-set stays on
    // it as last read (recordGone tells) until the next move or re-read of the range.
    bool refreshRecord();
    // The same while the current record is being edited: each field the user has not changed,
    // and not in `keep` (a field the user is in, a text its field refused), shows what is stored
    // now and counts as read. A field the user changed keeps the typed value and what was read,
    // so that storing it still finds where the other side changed it too. A new record is left
    // as it is. False when the record is gone.
    bool refreshUnchangedFields(const QList<int>& keep = {});

    // --- editing ---
    void insert();
    void append();
    void edit();
    void post();
    void cancel();
    void deleteRecord();
    // Deletes every record of the current range. Inside a unit of work that read the range under
    // its write lock, that is one statement; otherwise each record goes as deleteRecord() does,
    // refused where another user changed it.
    void deleteAll();
    // Posts a pending change when the user changed something, drops it otherwise.
    void checkBrowseMode();
    // A post whose record another installation changed since it was read stores the fields
    // this user changed over theirs and shows the merged record. Where both changed the same
    // field to different values it throws, naming each with both values; the typed values stay
    // in edit, and posting again stores them over theirs. A record deleted meanwhile: the edit
    // is dropped with an error saying so; the record-set stays on the record as last read, never
    // moving on to another one by itself, and recordGone tells the windows, which move away.

    // --- fields ---
    int fieldCount() const { return static_cast<int>(fields_.size()); }
    Field& field(int index) const;
    Field& fieldByName(const QString& name) const;
    Field* findField(const QString& name) const;
    QStringList fieldNames() const;

    // Reading rows of the range without moving (grids, lookups); the value holds until the
    // record-set moves or changes.
    const QVariant& valueAt(int row, int fieldIndex) const;
    // The records a detail shows when its master stands on a record with these link values, read
    // without moving this record-set or its master: a tree fills a node's children from it as
    // they come into view. Fewer values than the link has give the records of every master that
    // begins with them, in order (a project's actions, major activity by major activity).
    std::vector<TableRow> rangeOf(const QVariantList& masterKey) const;
    // The records of many masters, as rangeOf() gives each, in a few statements and in index
    // order: a tree reads again the children of every node in view. The keys give as many values
    // each.
    std::vector<TableRow> rangesOf(const QList<QVariantList>& masterKeys) const;
    // Reads the ranges of many masters with few statements and keeps them for the moves that
    // follow, as ranges left are kept: a merge reads what its next lines name before it moves
    // there. Keys may give fewer values than the link has (every range that begins with them).
    // Ranges held already, and the one shown, are not read again. Only a detail that keeps the
    // ranges it left does this; the others read each range when they move there.
    void readRanges(const QList<QVariantList>& masterKeys);
    // Position of the first record of the range whose field equals the value exactly, as
    // locate() finds it, without moving; -1 when there is none.
    int rowOf(const QString& fieldName, const QVariant& value) const;
    // Looks up a field of the record with the given index-key values without moving: the loaded
    // range first, the store otherwise. Null when there is no such record.
    QVariant lookup(const QVariantList& keys, const QString& resultField) const;

    // Holds the observers' notices while a batch runs (nestable); the controls hear once, at
    // the end, that everything may have changed.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return controlsDisabled_ > 0; }

    // Row of the edit buffer while inserting: where a grid shows the new record.
    int insertRow() const { return insertAt_; }

Q_SIGNALS:
    // Observers: controls follow data and state through these.
    void stateChanged();
    void dataChanged();                // the rows of the range changed (reloaded, posted, deleted)
    void currentChanged();             // the cursor moved to another record
    void fieldChanged(int fieldIndex); // a field of the edit buffer was set
    // The current record is no longer stored (another installation deleted it); `typedLost`: an
    // edit of it could not be stored. The record-set still stands on it.
    void recordGone(bool typedLost);

private:
    friend class Field;
    using Row = TableRow;
    class ScratchScope;

    const QVariant& rawValue(int fieldIndex) const;
    void setRawValue(Field& f, const QVariant& stored);
    void ensureCurrent() const;
    void ensureFull() const;
    void nameField(const QString& name, int index);
    void loadRange(bool keepPosition);
    void readRange(const QVariantList& key, std::vector<Row>& rows);
    // Reads the rows of keys of one length into `rows`, in index order.
    void readKeys(const QList<QVariantList>& keys, std::vector<Row>& rows);
    // The rows a bound statement gives that the filter accepts, after which it is reset.
    void readRows(Statement& q, std::vector<Row>& rows);
    // A row as read by a statement whose first column is the row's identity.
    Row readRow(Statement& q);
    // Reads the ranges of the following masters with this one, in one statement, when the
    // master is being walked in order; false when this range alone fills the window.
    bool readAhead(const QVariantList& key, std::vector<Row>& rows);
    QVariantList masterKey() const;
    static bool keyUsable(const QVariantList& key);
    void invalidateDetails(bool force, bool notify);
    void checkDetailsBrowseMode();
    void beforeMove();
    void afterMove();
    void requireActive() const;
    void startInsert(int position);
    void computeCalcFields(Row& row);
    bool acceptRow(Row& row);
    int keyPosition(const QVariantList& keys) const;
    int positionOf(const Field& f, const QVariant& value) const;
    bool staysOn(int pos, const QList<int>& searched) const;
    int sortedPosition(const Row& row) const;
    int compareRowKeys(const Row& a, const Row& b) const;
    QVariantList storedKeys(const QVariantList& keys) const;
    void buildSql();
    void releaseQueries();
    void onRolledBack();
    void setState(State s);
    void rowsChanged();
    void notifyData();
    void notifyMoved();
    // The prepared statement of a key, on this record-set's table; its SQL text is built only
    // when it is not prepared yet.
    // `callerSends`: the caller writes the held rows the statement reads (see RowWriter).
    Statement& cachedStatement(const QString& key, const std::function<QString()>& sql,
                               bool callerSends = false) const;
    // Ranges a detail has left, reused while nothing but this record-set has written to its
    // table: moving back and forth between masters then reads nothing again.
    bool cachesRanges() const;
    // After this record-set's own write: the cache stays valid if it was before.
    void keepCacheAfterOwnWrite(quint64 writesBefore, quint64 otherBefore, bool rangesChanged);
    // A range without a master is read once; where another record-set of this connection
    // wrote to its table since (a report's or a merge's own record-sets, the window's), the
    // next walk or search reads it again.
    void catchUp();
    void keepSeenAfterOwnWrite(quint64 writesBefore);
    QVariantList linkKeyOf(const Row& row) const;
    bool sameLink(const Row& a, const Row& b) const;
    // Reads a row's stored values by identity; false when it is gone.
    bool readStored(qint64 rowid, QVector<QVariant>& values);
    void dropCurrentRow();
    // The post's update found the row changed by another installation: see post().
    void postOverTheirs();
    // The deletion found the row changed or gone: shows it as it is now and refuses.
    [[noreturn]] void refuseDeletion();
    // Whether the row was read inside the unit of work running now, under its write lock.
    bool readLocked(const Row& row) const;
    // Tells the journal of a row written.
    void journalWrite(RowWrite::Kind kind, qint64 rowid, const QVector<QVariant>& before,
                      const QVector<QVariant>& after) const;

    Store* store_;
    QString tableName_;
    TableRef ref_;
    bool resolved_ = false;
    std::vector<std::unique_ptr<Field>> fields_;
    int storedCount_ = 0;
    QHash<QString, int> byName_;
    QStringList indexFields_;
    QList<int> indexPos_;
    bool integerIndex_ = false;
    Table* master_ = nullptr;
    QStringList masterFields_;
    QList<int> masterPos_; // the master fields' positions, found when opening
    QList<Table*> details_;
    bool filtered_ = false;
    QString narrowField_;
    std::function<QString()> narrowText_;
    // The range read before the filter went on, given back when it goes off if nothing wrote
    // to the table meanwhile.
    std::vector<Row> unfiltered_;
    std::optional<Store::Stamp> unfilteredStamp_;

    State state_ = State::Inactive;
    std::vector<Row> rows_;
    int cur_ = -1;
    bool eof_ = true;
    bool bof_ = true;
    bool loaded_ = false;
    bool stale_ = false;
    bool forceReload_ = false;
    bool relocate_ = false;
    bool partial_ = false;  // only rows appended since opening are known; read the range on a move
    bool outdated_ = false; // the range was read before what the range cache's stamp counts
    QVariantList loadedKey_;

    Row buffer_;
    QBitArray changed_;
    bool modified_ = false;
    int insertAt_ = -1;
    Row* scratch_ = nullptr; // the row being filtered or calculated

    // Ranges up to this many rows are searched row by row, without an index.
    static constexpr size_t SmallRange = 32;
    // First row of each text value, per field, for exact-match searches over large ranges.
    mutable QHash<int, QHash<QString, int>> locateIndex_;

    QString columnList_;
    QString selectSql_;
    QString aheadSql_;
    bool linksIntegers_ = false; // the link fields are numbers: their order is the same everywhere
    int forwardMoves_ = 0;       // masters followed one after the other, each the next one
    int lastMasterRow_ = -1;     // the master's record this range was read for
    bool walked_ = false;        // this range was read as the next one of a walk
    int aheadRows_ = 0;
    mutable QHash<QString, std::shared_ptr<Statement>> statements_;

    int controlsDisabled_ = 0;
    bool heldNotice_ = false;

    RangeCache cache_;
    quint64 seenWrites_ = 0; // this connection's writes to the table when the range was read
    std::unique_ptr<RowWriter> writer_;
    QString rowId_;
    RowJournal* journal_ = nullptr;
};

} // namespace vok

#pragma once

#include <QString>
#include <QVariant>

namespace vok {

// A prepared statement on a store's connection, stepped row by row; one implementation per
// engine. The record-sets read and write through these: the SQL driver's own query object
// rebuilds column metadata at every execution, which costs more than reading a small range.
// Parameters are written "?" and bound from 0; values come back in the stored form the
// record-sets keep: null, qlonglong (whole numbers and 0/1 flags), double, text (dates as
// "yyyy-MM-dd", date-times as "yyyy-MM-ddTHH:mm:ss"), or StoredBytes for what is no UTF-8 text.
// What running a statement did, as the engine reports it; never read from the SQL text.
// `Inserts` only where the engine tells inserts apart and numbers may need catching up.
enum class StatementEffect { Reads, Writes, Inserts };

class Statement {
public:
    virtual ~Statement() = default;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Null, integers, booleans (as 0/1), floating point and text.
    virtual void bind(int index, const QVariant& value) = 0;
    // Runs to the next row; false when there is none. Throws the engine's error.
    virtual bool step() = 0;
    // Ready to run again with new bindings.
    virtual void reset() = 0;
    // Executes a statement and returns the number of rows it changed.
    virtual int run() = 0;
    // Inside a unit of work, which keeps every other writer out, a write that must change exactly
    // `rows` rows may be sent without waiting for its answer: the engine checks the count before
    // the next read or the commit. False when the engine runs it now instead (call run()).
    virtual bool runLater(int /*rows*/) { return false; }

    virtual int columnCount() const = 0;
    virtual bool isNull(int column) const = 0;
    virtual QVariant value(int column) const = 0;
    virtual qlonglong int64(int column) const = 0;
    // The number the engine gave the row the last INSERT added.
    virtual qlonglong lastInsertId() const = 0;
    // What the last run did (a folder's engine knows it from the prepared statement already).
    virtual StatementEffect effect() const = 0;

protected:
    Statement() = default;
};

} // namespace vok

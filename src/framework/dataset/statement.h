#pragma once

#include "store.h"

#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace vok {

// A prepared statement on the store's connection, stepped row by row. The record-sets read and
// write through these: the SQL driver's own query object rebuilds column metadata at every
// execution, which costs more than reading a small range.
class Statement {
public:
    Statement(Store& store, const QString& sql);
    // A statement that writes to this table tells the store so, which keeps the record-sets'
    // range caches of other tables valid; any other writing statement invalidates them all.
    Statement(Store& store, const QString& sql, const TableRef& writes);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Binds from 0. Null, integers, booleans, floating point and text.
    void bind(int index, const QVariant& value);
    // Runs to the next row; false when there is none. Throws the engine's error.
    bool step();
    // Ready to run again with new bindings.
    void reset();
    // Executes a statement that returns no rows.
    void run();

    int columnCount() const;
    bool isNull(int column) const;
    // The column as stored: null, qlonglong, double or QString.
    QVariant value(int column) const;
    qlonglong int64(int column) const;
    qlonglong lastInsertId() const;

private:
    [[noreturn]] void fail(const QString& context) const;

    void noteWrite();

    Store* store_ = nullptr;
    TableRef ref_;
    bool hasTable_ = false;
    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
    QString sql_;
};

} // namespace vok

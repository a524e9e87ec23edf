#pragma once

#include <QString>

namespace vok {

// Where a record-set's rows live: a table of the data folder's database, or the table of a
// member's sheet. An empty schema names a table of the connection's own schema.
struct TableRef {
    TableRef() = default;
    TableRef(QString schemaName, QString tableName);
    QString schema;
    QString table;
    // The quoted "schema"."table" (or "table"), built once.
    const QString& sql() const { return sql_; }

private:
    QString sql_;
};

} // namespace vok

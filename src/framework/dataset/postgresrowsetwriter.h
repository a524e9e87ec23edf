#pragma once

#include "rowsetwriter.h"
#include "tableref.h"

#include <QByteArray>
#include <QHash>
#include <QStringList>
#include <functional>
#include <memory>

namespace vok {

class PostgresEngine;
class Statement;

// Row sets on the server: the rows go as one JSON parameter that the server reads into its own
// row type of the table (json_populate_recordset), so each value is read by its column's type as
// a single row's parameter would be, and the checks compare what was read column by column, nulls
// equal, as the single-row statements do.
class PostgresRowSetWriter : public RowSetWriter {
public:
    // `columns` are the stored columns in record-set order; `tableColumns` the table's own, in
    // its order, as the server names them.
    PostgresRowSetWriter(PostgresEngine& engine, const TableRef& ref, const QStringList& columns,
                         const QList<bool>& autoInc, const QStringList& tableColumns,
                         const QString& rowId);
    ~PostgresRowSetWriter() override;

    void insert(const std::vector<TableRow>& rows) override;
    void update(const QList<int>& columns, const std::vector<RowChange>& rows) override;
    void remove(const std::vector<TableRow>& rows) override;

private:
    Statement& statement(const QString& key, const std::function<QString()>& sql);
    // Runs a statement that must change `rows` rows: sent without waiting where the engine can.
    static void run(Statement& q, int rows);
    // One row as a JSON object, appended to an array being built: its number, then the given
    // columns' values.
    void appendRow(QByteArray& out, qint64 rowid, const QVector<QVariant>& values,
                   const QList<int>& columns) const;
    // The rows as a JSON array: each its number, then the given columns of its `side` values.
    template <typename Row>
    QByteArray rowsJson(const std::vector<Row>& rows, QVector<QVariant> Row::*side,
                        const QList<int>& columns) const;
    // " AND ROW(a, b) IS NOT DISTINCT FROM ROW(c, d)": the compared columns of the table (named
    // by `table`) against those read (named by `read`).
    QString unchanged(const std::function<QString(int)>& table,
                      const std::function<QString(int)>& read) const;

    PostgresEngine& engine_;
    TableRef ref_;
    QList<int> written_;     // the stored columns an insert writes
    QList<int> compared_;    // the stored columns an update or deletion finds as read
    QStringList names_;      // the server's name of each stored column, quoted
    QList<int> places_;      // each stored column's place among the table's columns
    QList<QByteArray> keys_; // each stored column as a JSON key with its colon
    QByteArray rowIdKey_;
    QString rowId_;
    int rowIdPlace_ = -1;
    int tableColumnCount_ = 0;
    QHash<QString, std::shared_ptr<Statement>> statements_;
};

} // namespace vok

#pragma once

#include "statement.h"
#include "tableref.h"

#include <QBitArray>
#include <QHash>
#include <QStringList>
#include <QVector>
#include <functional>
#include <memory>

namespace vok {

class Store;

// Writes a record-set's rows to its table. An insert reports the new row's identity; an update
// or a deletion changes the row only while it still holds every value that was read, so that
// nothing another user wrote since is overwritten or vanishes without a word.
class RowWriter {
public:
    // The table's stored columns in record-set order; AutoInc columns are never written.
    RowWriter(Store& store, const TableRef& ref, QStringList columns, QList<bool> autoInc);
    ~RowWriter();
    RowWriter(const RowWriter&) = delete;
    RowWriter& operator=(const RowWriter&) = delete;

    qlonglong insert(const QVector<QVariant>& values);
    // False when the row is gone or no longer holds `read`.
    bool update(qint64 rowid, const QVector<QVariant>& read, const QVector<QVariant>& values,
                const QBitArray& changed);
    bool remove(qint64 rowid, const QVector<QVariant>& read);

private:
    Statement& statement(const QString& key, const std::function<QString()>& sql);
    // "rowid = ? AND column same-as ? ..." over every stored column.
    QString unchangedSql() const;
    int bindUnchanged(Statement& q, int from, qint64 rowid, const QVector<QVariant>& read) const;

    Store& store_;
    TableRef ref_;
    QStringList columns_;
    QList<bool> autoInc_;
    QString rowId_;
    QString same_;
    QHash<QString, std::shared_ptr<Statement>> statements_;
};

} // namespace vok

#include "rowwriter.h"

#include "store.h"

namespace vok {

RowWriter::RowWriter(Store& store, const TableRef& ref, QStringList columns, QList<bool> autoInc)
    : store_(store), ref_(ref), columns_(std::move(columns)), autoInc_(std::move(autoInc)),
      rowId_(store.engine().rowId(ref)), same_(store.engine().sameValue()) {}

RowWriter::~RowWriter() = default;

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

qlonglong RowWriter::insert(const QVector<QVariant>& values) {
    QList<int> positions;
    for (int i = 0; i < columns_.size(); ++i) {
        if (!autoInc_[i])
            positions << i;
    }
    // With its number taken ahead, the row goes out without waiting for the engine's answer.
    if (const qlonglong id = store_.engine().reserveRowId(ref_); id != 0) {
        Statement& q = statement(QStringLiteral("insert-numbered"), [&] {
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
        q.bind(0, id);
        for (int k = 0; k < positions.size(); ++k)
            q.bind(k + 1, values[positions[k]]);
        if (!q.runLater())
            q.run();
        return id;
    }
    // The SQL text is built only the first time; the statement is kept.
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
                       const QBitArray& changed) {
    QList<int> positions;
    QString key = QStringLiteral("update:");
    for (int i = 0; i < columns_.size(); ++i) {
        if (!changed.testBit(i))
            continue;
        positions << i;
        key += QString::number(i) + QLatin1Char(',');
    }
    if (positions.isEmpty())
        return true;
    Statement& q = statement(key, [&] {
        QStringList sets;
        for (int i : positions)
            sets << quotedName(columns_[i]) + QStringLiteral(" = ?");
        return QStringLiteral("UPDATE %1 SET %2 WHERE %3")
            .arg(ref_.sql(), sets.join(QStringLiteral(", ")), unchangedSql());
    });
    q.reset();
    int k = 0;
    for (int i : positions)
        q.bind(k++, values[i]);
    bindUnchanged(q, k, rowid, read);
    return q.runLater() || q.run() == 1;
}

bool RowWriter::remove(qint64 rowid, const QVector<QVariant>& read) {
    Statement& q = statement(QStringLiteral("delete"), [this] {
        return QStringLiteral("DELETE FROM %1 WHERE %2").arg(ref_.sql(), unchangedSql());
    });
    q.reset();
    bindUnchanged(q, 0, rowid, read);
    return q.runLater() || q.run() == 1;
}

} // namespace vok

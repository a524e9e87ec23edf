#include "postgresrowsetwriter.h"

#include "databaseerror.h"
#include "postgresengine.h"
#include "postgresstatement.h"

namespace vok {

namespace {

QString quoted(QString name) {
    name.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + name + QLatin1Char('"');
}

void appendJsonString(QByteArray& out, const QByteArray& utf8) {
    static const char hex[] = "0123456789abcdef";
    out += '"';
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            out += "\\u00";
            out += hex[u >> 4];
            out += hex[u & 15];
        } else {
            out += c;
        }
    }
    out += '"';
}

QByteArray jsonKey(const QString& name) {
    QByteArray key;
    appendJsonString(key, name.toUtf8());
    return key + ':';
}

// The place of a column among the table's: its exact name first, then letter case aside.
int placeOf(const QString& name, const QStringList& tableColumns) {
    if (const int exact = static_cast<int>(tableColumns.indexOf(name)); exact >= 0)
        return exact;
    for (int j = 0; j < tableColumns.size(); ++j) {
        if (tableColumns[j].compare(name, Qt::CaseInsensitive) == 0)
            return j;
    }
    return -1;
}

// The rows' numbers as an array, which the server looks up in the table's key: with them named
// apart, its plan finds each row by its number however many rows the set holds.
template <typename Row> QByteArray numbers(const std::vector<Row>& rows) {
    QByteArray out("{");
    for (const Row& row : rows) {
        if (out.size() > 1)
            out += ',';
        out += QByteArray::number(row.rowid);
    }
    return out + '}';
}

} // namespace

PostgresRowSetWriter::PostgresRowSetWriter(PostgresEngine& engine, const TableRef& ref,
                                           const QStringList& columns, const QList<bool>& autoInc,
                                           const QStringList& tableColumns, const QString& rowId)
    : engine_(engine), ref_(ref), rowIdKey_(jsonKey(rowId)), rowId_(quoted(rowId)),
      rowIdPlace_(placeOf(rowId, tableColumns)),
      tableColumnCount_(static_cast<int>(tableColumns.size())) {
    for (int i = 0; i < columns.size(); ++i) {
        const int place = placeOf(columns[i], tableColumns);
        if (place < 0)
            throw DatabaseError(
                QStringLiteral("Field '%1' not found in table %2").arg(columns[i], ref_.table),
                DatabaseError::Kind::Engine);
        names_ << quoted(tableColumns[place]);
        places_ << place;
        keys_ << jsonKey(tableColumns[place]);
        // The row's number is written and found under its own key.
        if (place == rowIdPlace_)
            continue;
        if (!autoInc.value(i))
            written_ << i;
        compared_ << i;
    }
}

PostgresRowSetWriter::~PostgresRowSetWriter() = default;

Statement& PostgresRowSetWriter::statement(const QString& key,
                                           const std::function<QString()>& sql) {
    auto it = statements_.find(key);
    if (it == statements_.end())
        it = statements_.insert(key, std::shared_ptr<Statement>(engine_.prepare(sql())));
    return **it;
}

void PostgresRowSetWriter::run(Statement& q, int rows) {
    if (q.runLater(rows))
        return;
    if (q.run() != rows)
        throw DatabaseError::changedByAnotherUser();
}

void PostgresRowSetWriter::appendRow(QByteArray& out, qint64 rowid, const QVector<QVariant>& values,
                                     const QList<int>& columns) const {
    out += out.isEmpty() ? '[' : ',';
    out += '{';
    out += rowIdKey_;
    out += '"';
    out += QByteArray::number(rowid);
    out += '"';
    for (int i : columns) {
        out += ',';
        out += keys_[i];
        const QVariant& v = values[i];
        if (!v.isValid() || v.isNull()) {
            out += "null";
            continue;
        }
        // As a statement's parameter is written; the kinds a record-set stores most, directly.
        switch (v.typeId()) {
        case QMetaType::LongLong:
            out += '"';
            out += QByteArray::number(*static_cast<const qlonglong*>(v.constData()));
            out += '"';
            break;
        case QMetaType::QString:
            appendJsonString(out, static_cast<const QString*>(v.constData())->toUtf8());
            break;
        default:
            appendJsonString(out, PostgresStatement::text(v));
            break;
        }
    }
    out += '}';
}

QString PostgresRowSetWriter::unchanged(const std::function<QString(int)>& table,
                                        const std::function<QString(int)>& read) const {
    if (compared_.isEmpty())
        return {};
    QStringList mine;
    QStringList theirs;
    for (int i : compared_) {
        mine << table(i);
        theirs << read(i);
    }
    return QStringLiteral(" AND ROW(%1) IS NOT DISTINCT FROM ROW(%2)")
        .arg(mine.join(QStringLiteral(", ")), theirs.join(QStringLiteral(", ")));
}

template <typename Row>
QByteArray PostgresRowSetWriter::rowsJson(const std::vector<Row>& rows,
                                          QVector<QVariant> Row::*side,
                                          const QList<int>& columns) const {
    QByteArray out;
    for (const Row& row : rows)
        appendRow(out, row.rowid, row.*side, columns);
    return out + ']';
}

void PostgresRowSetWriter::insert(const std::vector<TableRow>& rows) {
    if (rows.empty())
        return;
    Statement& q = statement(QStringLiteral("insert"), [&] {
        QStringList cols{rowId_};
        for (int i : std::as_const(written_))
            cols << names_[i];
        const QString list = cols.join(QStringLiteral(", "));
        return QStringLiteral(
                   "INSERT INTO %1 (%2) SELECT %2 FROM json_populate_recordset(NULL::%1, "
                   "?)")
            .arg(ref_.sql(), list);
    });
    q.reset();
    q.bind(0, rowsJson(rows, &TableRow::values, written_));
    run(q, static_cast<int>(rows.size()));
}

void PostgresRowSetWriter::update(const QList<int>& columns, const std::vector<RowChange>& rows) {
    if (rows.empty() || columns.isEmpty())
        return;
    QString key = QStringLiteral("update:");
    for (int i : columns)
        key += QString::number(i) + QLatin1Char(',');
    Statement& q = statement(key, [&] {
        // The rows as read and as they are now, side by side: ROWS FROM pairs them in order.
        QStringList aliases;
        for (const char* side : {"r", "n"}) {
            for (int j = 0; j < tableColumnCount_; ++j)
                aliases << QLatin1String(side) + QString::number(j);
        }
        QStringList sets;
        for (int i : columns)
            sets << QStringLiteral("%1 = z.n%2").arg(names_[i]).arg(places_[i]);
        return QStringLiteral("UPDATE %1 AS x SET %2 FROM ROWS FROM (json_populate_recordset("
                              "NULL::%1, ?), json_populate_recordset(NULL::%1, ?)) AS z(%3) WHERE "
                              "x.%4 = ANY (?::bigint[]) AND x.%4 = z.r%5%6")
            .arg(ref_.sql(), sets.join(QStringLiteral(", ")), aliases.join(QStringLiteral(", ")),
                 rowId_)
            .arg(rowIdPlace_)
            .arg(unchanged(
                [&](int i) -> QString { return QStringLiteral("x.") + names_[i]; },
                [&](int i) -> QString { return QStringLiteral("z.r%1").arg(places_[i]); }));
    });
    q.reset();
    q.bind(0, rowsJson(rows, &RowChange::read, compared_));
    q.bind(1, rowsJson(rows, &RowChange::values, columns));
    q.bind(2, numbers(rows));
    run(q, static_cast<int>(rows.size()));
}

void PostgresRowSetWriter::remove(const std::vector<TableRow>& rows) {
    if (rows.empty())
        return;
    Statement& q = statement(QStringLiteral("delete"), [&] {
        return QStringLiteral("DELETE FROM %1 AS x USING json_populate_recordset(NULL::%1, ?) AS "
                              "r WHERE x.%2 = ANY (?::bigint[]) AND x.%2 = r.%2%3")
            .arg(ref_.sql(), rowId_,
                 unchanged([&](int i) -> QString { return QStringLiteral("x.") + names_[i]; },
                           [&](int i) -> QString { return QStringLiteral("r.") + names_[i]; }));
    });
    q.reset();
    q.bind(0, rowsJson(rows, &TableRow::values, compared_));
    q.bind(1, numbers(rows));
    run(q, static_cast<int>(rows.size()));
}

} // namespace vok

#include "postgresstatement.h"

#include "databaseerror.h"
#include "engine.h"
#include "postgresengine.h"

#include <QDate>
#include <QDateTime>
#include <QVarLengthArray>
#include <atomic>
#include <cmath>
#include <libpq-fe.h>

namespace vok {

namespace {

std::atomic<quint64> statementCounter{0};

// Type numbers of the server's built-in types.
constexpr Oid boolOid = 16;
constexpr Oid int8Oid = 20;
constexpr Oid int2Oid = 21;
constexpr Oid int4Oid = 23;
constexpr Oid oidOid = 26;
constexpr Oid float4Oid = 700;
constexpr Oid float8Oid = 701;
constexpr Oid numericOid = 1700;
constexpr Oid timestampOid = 1114;

} // namespace

PostgresStatement::PostgresStatement(PostgresEngine& engine, pg_conn* conn, const QString& sql,
                                     std::shared_ptr<bool> alive, std::shared_ptr<quint64> runs)
    : engine_(engine), conn_(conn), alive_(std::move(alive)), runs_(std::move(runs)),
      name_("vok" + QByteArray::number(statementCounter.fetch_add(1))) {
    engine_.flush();
    const QByteArray text = numberedParameters(sql, paramCount_);
    values_.resize(paramCount_);
    nulls_.fill(true, paramCount_);
    PGresult* r = PQprepare(conn_, name_.constData(), text.constData(), 0, nullptr);
    if (PQresultStatus(r) != PGRES_COMMAND_OK)
        fail(r, conn_);
    PQclear(r);
}

PostgresStatement::~PostgresStatement() {
    clear();
    if (!*alive_ || PQstatus(conn_) != CONNECTION_OK)
        return;
    try {
        engine_.flush();
    } catch (...) {
        // The unit that wrote reports it; the statement goes all the same.
    }
    PQclear(PQexec(conn_, QByteArray("DEALLOCATE " + name_).constData()));
}

QByteArray PostgresStatement::numberedParameters(const QString& sql, int& count) {
    QString out;
    out.reserve(sql.size() + 16);
    count = 0;
    QChar quote;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            out += c;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            out += c;
        } else if (c == QLatin1Char('?')) {
            out += QLatin1Char('$') + QString::number(++count);
        } else {
            out += c;
        }
    }
    return out.toUtf8();
}

QByteArray PostgresStatement::text(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? "1" : "0";
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        if (std::isnan(d))
            return "NaN";
        if (std::isinf(d))
            return d > 0 ? "Infinity" : "-Infinity";
        // Seventeen digits read back as the same double.
        return QByteArray::number(d, 'g', 17);
    }
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate).toUtf8();
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toUtf8();
    case QMetaType::QByteArray:
        return value.toByteArray(); // UTF-8 text already, as a row set's JSON is

    default:
        // Bytes a folder held that are no text (StoredBytes) reach the server as the text they
        // show: it stores only UTF-8.
        return value.toString().toUtf8();
    }
}

QVariant PostgresStatement::stored(const char* text, int length, unsigned int type) {
    switch (type) {
    case boolOid:
        return qlonglong(text[0] == 't' ? 1 : 0);
    case int2Oid:
    case int4Oid:
    case int8Oid:
    case oidOid:
        return qlonglong(std::strtoll(text, nullptr, 10));
    case float4Oid:
    case float8Oid:
    case numericOid:
        if (qstrcmp(text, "NaN") == 0)
            return std::nan("");
        if (qstrcmp(text, "Infinity") == 0)
            return HUGE_VAL;
        if (qstrcmp(text, "-Infinity") == 0)
            return -HUGE_VAL;
        return std::strtod(text, nullptr);
    case timestampOid: {
        QString s = QString::fromLatin1(text, length);
        if (s.size() > 10 && s.at(10) == QLatin1Char(' '))
            s[10] = QLatin1Char('T');
        return s;
    }
    default:
        return QString::fromUtf8(text, length);
    }
}

void PostgresStatement::fail(PGresult* result, PGconn* conn) {
    const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const char* primary = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    QString message = QString::fromUtf8(primary ? primary : PQerrorMessage(conn)).trimmed();
    if (const char* detail = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_DETAIL) : nullptr)
        message += QStringLiteral(" (%1)").arg(QString::fromUtf8(detail).trimmed());
    const QByteArray code(state ? state : "");
    PQclear(result);
    // Lock timeout, deadlock, serialization failure: another user holds what was asked for.
    throw Engine::error(message, code == "55P03" || code == "40P01" || code == "40001", QString());
}

void PostgresStatement::bind(int index, const QVariant& value) {
    if (index < 0 || index >= paramCount_)
        return;
    const bool null = !value.isValid() || value.isNull();
    nulls_[index] = null;
    values_[index] = null ? QByteArray() : text(value);
}

void PostgresStatement::clear() {
    if (result_)
        PQclear(result_);
    result_ = nullptr;
    row_ = -1;
    rows_ = 0;
}

void PostgresStatement::execute() {
    engine_.flush();
    clear();
    QVarLengthArray<const char*, 16> params(paramCount_);
    for (int i = 0; i < paramCount_; ++i)
        params[i] = nulls_[i] ? nullptr : values_[i].constData();
    const bool outsideUnit = PQtransactionStatus(conn_) == PQTRANS_IDLE;
    ++*runs_;
    PGresult* r =
        PQexecPrepared(conn_, name_.constData(), paramCount_, params.data(), nullptr, nullptr, 0);
    const ExecStatusType status = PQresultStatus(r);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
        fail(r, conn_);
    result_ = r;
    rows_ = PQntuples(r);
    effect_ = effectOfTag(PQcmdStatus(r));
    if (effect_ != StatementEffect::Reads && outsideUnit)
        engine_.noteOwnWrite();
}

StatementEffect PostgresStatement::effectOfTag(const char* tag) {
    // Tags of statements that leave every table as it was; anything else is taken for a write,
    // which at worst reads a record-set again.
    static const char* const reads[] = {"SELECT",
                                        "SHOW",
                                        "BEGIN",
                                        "START TRANSACTION",
                                        "COMMIT",
                                        "ROLLBACK",
                                        "SAVEPOINT",
                                        "RELEASE",
                                        "SET",
                                        "RESET",
                                        "FETCH",
                                        "MOVE",
                                        "DECLARE CURSOR",
                                        "CLOSE CURSOR",
                                        "LISTEN",
                                        "UNLISTEN",
                                        "NOTIFY",
                                        "PREPARE",
                                        "DEALLOCATE",
                                        "DISCARD",
                                        "LOCK TABLE",
                                        "EXPLAIN",
                                        "ANALYZE",
                                        "CHECKPOINT"};
    const QByteArray text(tag ? tag : "");
    if (text.startsWith("INSERT "))
        return StatementEffect::Inserts;
    for (const char* read : reads) {
        const QByteArray word(read);
        if (text == word || (text.startsWith(word) && text.at(word.size()) == ' '))
            return StatementEffect::Reads;
    }
    return StatementEffect::Writes;
}

bool PostgresStatement::step() {
    if (!result_)
        execute();
    if (row_ + 1 >= rows_) {
        row_ = rows_;
        return false;
    }
    ++row_;
    return true;
}

void PostgresStatement::reset() {
    clear();
    nulls_.fill(true);
}

bool PostgresStatement::runLater(int rows) {
    // Only writes of rows come here; their answer is checked when the pipeline is read.
    if (!engine_.enterPipeline())
        return false;
    clear();
    QVarLengthArray<const char*, 16> params(paramCount_);
    for (int i = 0; i < paramCount_; ++i)
        params[i] = nulls_[i] ? nullptr : values_[i].constData();
    ++*runs_;
    if (!PQsendQueryPrepared(conn_, name_.constData(), paramCount_, params.data(), nullptr, nullptr,
                             0))
        fail(nullptr, conn_);
    // libpq holds pipelined statements until 64 KiB have gathered: sent now, the server works on
    // them while this side prepares the next ones.
    if (PQflush(conn_) < 0)
        fail(nullptr, conn_);
    engine_.queued(rows);
    return true;
}

int PostgresStatement::run() {
    execute();
    const int changed = std::atoi(PQcmdTuples(result_));
    if (rows_ > 0 && PQnfields(result_) > 0 && !PQgetisnull(result_, 0, 0))
        lastInsertId_ = std::strtoll(PQgetvalue(result_, 0, 0), nullptr, 10);
    clear();
    return changed;
}

int PostgresStatement::columnCount() const {
    if (result_)
        return PQnfields(result_);
    if (describedColumns_ < 0) {
        PGresult* r = PQdescribePrepared(conn_, name_.constData());
        describedColumns_ = PQresultStatus(r) == PGRES_COMMAND_OK ? PQnfields(r) : 0;
        PQclear(r);
    }
    return describedColumns_;
}

bool PostgresStatement::isNull(int column) const {
    return !result_ || row_ < 0 || row_ >= rows_ || PQgetisnull(result_, row_, column);
}

QVariant PostgresStatement::value(int column) const {
    if (isNull(column))
        return {};
    return stored(PQgetvalue(result_, row_, column), PQgetlength(result_, row_, column),
                  PQftype(result_, column));
}

qlonglong PostgresStatement::int64(int column) const {
    if (isNull(column))
        return 0;
    const char* text = PQgetvalue(result_, row_, column);
    if (PQftype(result_, column) == boolOid)
        return text[0] == 't' ? 1 : 0;
    return std::strtoll(text, nullptr, 10);
}

} // namespace vok

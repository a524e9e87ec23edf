#include "postgresengine.h"

#include "databaseerror.h"
#include "framework/io/shownlocation.h"
#include "postgrescommitnotices.h"
#include "postgresrowsetwriter.h"
#include "postgresstatement.h"
#include "servernotices.h"

#include <QSqlDriver>
#include <QSqlQuery>
#include <QSqlResult>
#include <QVarLengthArray>
#include <atomic>
#include <libpq-fe.h>

namespace vok {

namespace {

// Commits of every server connection of this process, so that one connection sees at once what
// another connection of the same process committed.
std::atomic<quint64> processCommits{0};

// How long a look at the change counter stays good: a walk over thousands of ranges asks the
// server about once per this many nanoseconds instead of once per range.
constexpr qint64 freshForNs = 2'000'000;

QString quotedValue(const QString& value) {
    QString v = value;
    v.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    v.replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QLatin1Char('\'') + v + QLatin1Char('\'');
}

} // namespace

PostgresEngine::PostgresEngine() : alive_(std::make_shared<bool>(false)) {}

PostgresEngine::~PostgresEngine() {
    try {
        close();
    } catch (...) {
    }
}

QString PostgresEngine::connectionOptions(const QString& uri) {
    // libpq knows its schemes in lower case only.
    QString location = uri.trimmed();
    if (const qsizetype colon = location.indexOf(QLatin1Char(':'));
        colon > 0 &&
        location.left(colon).startsWith(QLatin1String("postgres"), Qt::CaseInsensitive))
        location.replace(0, colon, location.left(colon).toLower());
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(location.toUtf8().constData(), &error);
    if (!options) {
        // libpq's message quotes what it could not read, which may be the password.
        const QString text = error ? QString::fromUtf8(error).trimmed() : QString();
        PQfreemem(error);
        throw DatabaseError(QStringLiteral("%1 is not a valid PostgreSQL location: %2")
                                .arg(ShownLocation::of(uri), ShownLocation::masked(text, uri)),
                            DatabaseError::Kind::Engine);
    }
    QStringList parts;
    bool password = false;
    for (PQconninfoOption* o = options; o->keyword; ++o) {
        if (!o->val || !*o->val)
            continue;
        const QString key = QString::fromUtf8(o->keyword);
        if (key == QLatin1String("password")) {
            password = true;
            continue;
        }
        parts << key + QLatin1Char('=') + quotedValue(QString::fromUtf8(o->val));
    }
    PQconninfoFree(options);
    if (password)
        throw DatabaseError(
            QStringLiteral("The data location %1 holds a password; give it in ~/.pgpass or "
                           "PGPASSWORD instead")
                .arg(ShownLocation::of(uri)),
            DatabaseError::Kind::Engine);
    return parts.join(QLatin1Char(' '));
}

pg_conn* PostgresEngine::handle() const {
    const QVariant v = database().driver()->handle();
    if (v.isValid() &&
        (qstrcmp(v.typeName(), "pg_conn*") == 0 || qstrcmp(v.typeName(), "PGconn*") == 0)) {
        if (PGconn* h = *static_cast<PGconn* const*>(v.constData()))
            return h;
    }
    throw DatabaseError(QStringLiteral("The connection has no PostgreSQL handle"),
                        DatabaseError::Kind::Engine);
}

void PostgresEngine::connect(const QString& location, const EngineConfig::Settings& settings) {
    location_ = location;
    try {
        openDatabase(QStringLiteral("QPSQL"), QString(), connectionOptions(location),
                     QStringLiteral("Cannot open %1").arg(ShownLocation::of(location)));
    } catch (const DatabaseError& e) {
        throw DatabaseError(ShownLocation::masked(e.message(), location), e.kind());
    }
    alive_ = std::make_shared<bool>(true);
    // The server's notices (a trigger's RAISE, libpq's own words when the server goes away)
    // reach the user through Vok's escaping output, never raw.
    PQsetNoticeProcessor(handle(), &ServerNotices::fromLibpq, nullptr);
    // Dates and date-times as ISO text; a lock held by another user is waited for as long as
    // SQLite's busy timeout waits.
    scalar(QStringLiteral("SET DateStyle = ISO; SET client_min_messages = warning; "
                          "SET lock_timeout = '%1ms'")
               .arg(settings.localShare ? 10000 : 2000));
    schema_ = scalar(QStringLiteral("SELECT current_schema()")).toString();
    if (schema_.isEmpty()) {
        close();
        throw DatabaseError(
            QStringLiteral("The data location %1 does not exist (no schema to keep the tables in)")
                .arg(ShownLocation::of(location)),
            DatabaseError::Kind::Engine);
    }
}

void PostgresEngine::open(const QString& location, const EngineConfig::Settings& settings) {
    settings_ = settings;
    connect(location, settings);
    if (!holdsVokData()) {
        close();
        throw DatabaseError(
            QStringLiteral("%1 holds no Vok database").arg(ShownLocation::of(location)),
            DatabaseError::Kind::Engine);
    }
}

void PostgresEngine::close() {
    if (!open_)
        return;
    discardPipeline();
    inUnit_ = false;
    reservedIds_.clear();
    counterQuery_.reset();
    notices_.reset();
    *alive_ = false;
    rowIds_.clear();
    sharedClaims_.clear();
    seen_ = -1;
    closeDatabase();
}

std::unique_ptr<Statement> PostgresEngine::prepare(const QString& sql) {
    return std::make_unique<PostgresStatement>(*this, handle(), sql, alive_, runs_);
}

namespace {

// The first field of a result's first row, in stored form; the result is freed.
QVariant firstValue(PGresult* r, PGconn* conn) {
    const ExecStatusType status = PQresultStatus(r);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
        PostgresStatement::fail(r, conn);
    QVariant out;
    if (PQntuples(r) > 0 && PQnfields(r) > 0 && !PQgetisnull(r, 0, 0))
        out = PostgresStatement::stored(PQgetvalue(r, 0, 0), PQgetlength(r, 0, 0), PQftype(r, 0));
    PQclear(r);
    return out;
}

} // namespace

QVariant PostgresEngine::scalar(const QString& sql) {
    flush();
    PGconn* conn = handle();
    countStatement();
    PGresult* r = PQexec(conn, sql.toUtf8().constData());
    return firstValue(r, conn);
}

QVariant PostgresEngine::scalar(const QString& sql, const QVariantList& binds) {
    flush();
    PGconn* conn = handle();
    countStatement();
    int count = 0;
    const QByteArray text = PostgresStatement::numberedParameters(sql, count);
    QList<QByteArray> values;
    QVarLengthArray<const char*, 8> params;
    for (const QVariant& b : binds)
        values << PostgresStatement::text(b);
    for (const QByteArray& v : values)
        params.append(v.constData());
    PGresult* r = PQexecParams(conn, text.constData(), static_cast<int>(params.size()), nullptr,
                               params.data(), nullptr, nullptr, 0);
    return firstValue(r, conn);
}

bool PostgresEngine::holdsVokData() {
    return scalar(QStringLiteral("SELECT to_regclass('vok_changes') IS NOT NULL OR "
                                 "to_regclass('projects') IS NOT NULL"))
               .toLongLong() != 0;
}

bool PostgresEngine::holdsData(const QString& location) {
    connect(location, settings_);
    bool holds = false;
    try {
        holds = holdsVokData();
    } catch (...) {
        close();
        throw;
    }
    close();
    return holds;
}

QString PostgresEngine::schemaName() {
    return quotedName(schema_);
}

QString PostgresEngine::triggerSql(const TableRef& ref) {
    return QStringLiteral("CREATE TRIGGER vok_changed BEFORE INSERT OR UPDATE OR DELETE OR "
                          "TRUNCATE ON %1 FOR EACH STATEMENT EXECUTE FUNCTION %2.vok_changed()")
        .arg(ref.sql(), schemaName());
}

QStringList PostgresEngine::changeTrackingSql() {
    const QString s = schemaName();
    return {
        QStringLiteral("CREATE TABLE %1.vok_changes (n bigint NOT NULL)").arg(s),
        QStringLiteral("INSERT INTO %1.vok_changes VALUES (0)").arg(s),
        QStringLiteral("CREATE TABLE %1.vok_sheets (sheet_id integer GENERATED BY DEFAULT AS "
                       "IDENTITY PRIMARY KEY, file_name text NOT NULL UNIQUE)")
            .arg(s),
        // Once per transaction: the counter goes up and its row stays locked until the end.
        PostgresCommitNotices::noteChangeFunction(s, false),
        QStringLiteral("CREATE FUNCTION %1.vok_changed() RETURNS trigger LANGUAGE plpgsql AS $f$\n"
                       "BEGIN PERFORM %1.vok_note_change(); RETURN NULL; END $f$")
            .arg(s),
        triggerSql(TableRef(schema_, QStringLiteral("vok_sheets"))),
    };
}

void PostgresEngine::createDatabase(const QString& location, const QList<TableDef>& tables,
                                    const EngineConfig::Settings& settings) {
    createAndBegin(location, tables, settings);
    try {
        commitUnit();
    } catch (...) {
        close();
        throw;
    }
    close();
}

void PostgresEngine::createAndBegin(const QString& location, const QList<TableDef>& tables,
                                    const EngineConfig::Settings& settings) {
    settings_ = settings;
    connect(location, settings);
    try {
        if (holdsVokData())
            throw DatabaseError(
                QStringLiteral("%1 already holds a Vok database").arg(ShownLocation::of(location)),
                DatabaseError::Kind::Engine);
        QStringList statements{QStringLiteral("BEGIN")};
        statements << changeTrackingSql();
        for (const TableDef& t : tables) {
            const TableRef ref(schema_, t.name);
            statements << createTableSql(t, ref, settings);
            statements << triggerSql(ref);
        }
        for (const QString& sql : statements)
            scalar(sql);
        // The unit holds the write lock from here, as every unit does.
        inUnit_ = true;
        unitNumber_ =
            scalar(QStringLiteral("SELECT %1.vok_note_change()").arg(schemaName())).toLongLong();
        seen_ = unitNumber_ - 1;
        ownBumps_ = 0;
    } catch (const DatabaseError& e) {
        if (PQtransactionStatus(handle()) != PQTRANS_IDLE)
            PQclear(PQexec(handle(), "ROLLBACK"));
        close();
        throw DatabaseError(QStringLiteral("Cannot create the tables in %1: %2")
                                .arg(ShownLocation::of(location), e.message()),
                            DatabaseError::Kind::Engine);
    }
}

void PostgresEngine::beginUnit() {
    try {
        unitNumber_ = scalar(QStringLiteral("BEGIN; SELECT %1.vok_note_change()").arg(schemaName()))
                          .toLongLong();
    } catch (...) {
        if (PQtransactionStatus(handle()) != PQTRANS_IDLE)
            PQclear(PQexec(handle(), "ROLLBACK"));
        throw;
    }
    inUnit_ = true;
    // The number before this unit's: anything between the last look and it is another's.
    if (seen_ >= 0 && unitNumber_ - 1 != seen_ + ownBumps_)
        foundAtBegin_ = true;
    seen_ = unitNumber_ - 1;
    ownBumps_ = 0;
    lastLook_.restart();
}

void PostgresEngine::commitUnit() {
    try {
        flush();
    } catch (...) {
        inUnit_ = false;
        discardPipeline();
        PQclear(PQexec(handle(), "ROLLBACK"));
        seen_ = unitNumber_ - 1;
        throw;
    }
    inUnit_ = false;
    scalar(QStringLiteral("COMMIT"));
    seen_ = unitNumber_;
    ++ownCommits_;
    processCommits.fetch_add(1);
}

void PostgresEngine::rollbackUnit() {
    inUnit_ = false;
    discardPipeline();
    scalar(QStringLiteral("ROLLBACK"));
    seen_ = unitNumber_ - 1;
}

void PostgresEngine::noteOwnWrite() {
    ++ownBumps_;
    ++ownCommits_;
    processCommits.fetch_add(1);
}

bool PostgresEngine::changedElsewhere() {
    if (foundAtBegin_) {
        foundAtBegin_ = false;
        return true;
    }
    // Inside a unit the counter's lock keeps other writers out.
    if (inUnit_ || PQtransactionStatus(handle()) != PQTRANS_IDLE)
        return false;
    const quint64 process = processCommits.load();
    const bool othersHere = process - processSeen_ > ownCommits_ - ownCommitsSeen_;
    processSeen_ = process;
    ownCommitsSeen_ = ownCommits_;
    if (!othersHere && seen_ >= 0 && lastLook_.isValid() && lastLook_.nsecsElapsed() < freshForNs)
        return false;
    if (!counterQuery_)
        counterQuery_ = prepare(QStringLiteral("SELECT n FROM %1.vok_changes").arg(schemaName()));
    const qlonglong n = counterQuery_->step() ? counterQuery_->int64(0) : -1;
    counterQuery_->reset();
    const bool changed = seen_ < 0 || n != seen_ + ownBumps_;
    seen_ = n;
    ownBumps_ = 0;
    lastLook_.restart();
    return changed;
}

bool PostgresEngine::listenForCommits() {
    if (inUnit_ || PQtransactionStatus(handle()) != PQTRANS_IDLE)
        return false;
    auto notices = std::make_unique<PostgresCommitNotices>(*this, handle(), schema_);
    if (!notices->listen(schemaName()))
        return false;
    notices_ = std::move(notices);
    return true;
}

int PostgresEngine::noticeSocket() const {
    return notices_ ? notices_->socket() : -1;
}

bool PostgresEngine::takeCommitNotices() {
    if (!notices_ || inUnit_ || !notices_->take())
        return false;
    // Told by the server itself: the next question asks, however fresh the last look.
    lastLook_.invalidate();
    return true;
}

QString PostgresEngine::counterColumn() {
    return QStringLiteral("(SELECT n FROM %1.vok_changes)").arg(schemaName());
}

void PostgresEngine::counterRead(qlonglong value) {
    // Read with the rows of a statement outside a unit: a look like changedElsewhere()'s, whose
    // finding the next call reports.
    if (inUnit_ || PQtransactionStatus(handle()) != PQTRANS_IDLE)
        return;
    const quint64 process = processCommits.load();
    if (process - processSeen_ > ownCommits_ - ownCommitsSeen_)
        return; // a commit of this process's other connections: the next call looks itself
    if (seen_ < 0 || value != seen_ + ownBumps_)
        foundAtBegin_ = true;
    processSeen_ = process;
    ownCommitsSeen_ = ownCommits_;
    seen_ = value;
    ownBumps_ = 0;
    lastLook_.restart();
}

QString PostgresEngine::rowId(const TableRef& ref) {
    const QString key = ref.sql();
    if (auto it = rowIds_.constFind(key); it != rowIds_.constEnd())
        return *it;
    const QString column =
        scalar(QStringLiteral("SELECT a.attname FROM pg_attribute a WHERE a.attrelid = "
                              "to_regclass(?) AND a.attnum > 0 AND NOT a.attisdropped AND "
                              "a.attidentity <> '' ORDER BY a.attnum LIMIT 1"),
               {key})
            .toString();
    if (column.isEmpty())
        throw DatabaseError(QStringLiteral("Table %1 has no auto-increment key").arg(ref.table),
                            DatabaseError::Kind::Engine);
    const QString quoted = quotedName(column);
    rowIds_.insert(key, quoted);
    return quoted;
}

QString PostgresEngine::returningRowId(const TableRef& ref) {
    return QStringLiteral(" RETURNING ") + rowId(ref);
}

QString PostgresEngine::foldedContains(const QString& column) {
    // As TextFold folds: decomposed, the combining marks U+0300 to U+036F dropped, lower case.
    return QStringLiteral("strpos(lower(regexp_replace(normalize(%1, NFD), '[\u0300-\u036f]', "
                          "'', 'g')), ?) > 0")
        .arg(column);
}

QString PostgresEngine::sameValue() const {
    return QStringLiteral("IS NOT DISTINCT FROM ?");
}

QString PostgresEngine::dateTimeType() const {
    return QStringLiteral("TIMESTAMP");
}

QString PostgresEngine::flagType() const {
    // 0 or 1, as on a folder: SQL written for either engine compares flags with numbers.
    return QStringLiteral("SMALLINT");
}

QString PostgresEngine::realType() const {
    return QStringLiteral("DOUBLE PRECISION");
}

QString PostgresEngine::autoIncrementColumn(const FieldDef& /*def*/) const {
    // By default, not always: a copied data folder keeps its numbers.
    return QStringLiteral("INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
}

QString PostgresEngine::findTable(const QString& baseName) {
    // Tables of the connection's schema; the engine's own (vok_...) are never a file's.
    return scalar(QStringLiteral("SELECT c.relname FROM pg_class c JOIN pg_namespace n ON n.oid "
                                 "= c.relnamespace WHERE n.nspname = current_schema() AND "
                                 "c.relkind IN ('r', 'p') AND lower(c.relname) = lower(?) AND "
                                 "c.relname NOT LIKE 'vok\\_%' ORDER BY c.relname <> ? LIMIT 1"),
                  {baseName, baseName})
        .toString();
}

QString PostgresEngine::mainSchema() const {
    return {};
}

QStringList PostgresEngine::columns(const TableRef& ref) {
    auto q = prepare(QStringLiteral("SELECT attname FROM pg_attribute WHERE attrelid = "
                                    "to_regclass(?) AND attnum > 0 AND NOT attisdropped ORDER BY "
                                    "attnum"));
    q->bind(0, ref.sql());
    QStringList names;
    while (q->step())
        names << q->value(0).toString();
    return names;
}

TableRef PostgresEngine::openSheet(const QString& fileName, int /*unitDepth*/) {
    const QVariant id =
        scalar(QStringLiteral("SELECT sheet_id FROM vok_sheets WHERE file_name = ?"), {fileName});
    if (id.isNull())
        throw DatabaseError(QStringLiteral("Table does not exist: %1 (database %2)")
                                .arg(fileName, ShownLocation::of(location_)),
                            DatabaseError::Kind::Engine);
    return TableRef{QString(), QStringLiteral("vok_sheet_%1").arg(id.toLongLong())};
}

QString PostgresEngine::bareRowId(const TableRef& ref) {
    QString bare = rowId(ref);
    if (bare.startsWith(QLatin1Char('"'))) {
        bare = bare.mid(1, bare.size() - 2);
        bare.replace(QStringLiteral("\"\""), QStringLiteral("\""));
    }
    return bare;
}

bool PostgresEngine::enterPipeline() {
    if (!inUnit_)
        return false;
    if (!pipeline_) {
        if (!PQenterPipelineMode(handle()))
            return false;
        pipeline_ = true;
    }
    return true;
}

void PostgresEngine::queued(int rows) {
    pending_.append(rows);
    // Answers pile up on the server's side of the socket: take them now and then.
    if (pending_.size() >= 1000)
        flush();
}

void PostgresEngine::flush() {
    if (!pipeline_)
        return;
    PGconn* conn = handle();
    pipeline_ = false;
    const QList<int> pending = std::move(pending_);
    pending_.clear();
    PQpipelineSync(conn);
    QString error;
    bool locked = false;
    bool changed = false;
    for (const int rows : pending) {
        PGresult* r = PQgetResult(conn);
        const ExecStatusType status = PQresultStatus(r);
        if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) {
            changed = changed || std::atoi(PQcmdTuples(r)) != rows;
        } else if (status != PGRES_PIPELINE_ABORTED && error.isEmpty()) {
            const char* primary = PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY);
            const QByteArray code(PQresultErrorField(r, PG_DIAG_SQLSTATE));
            error = QString::fromUtf8(primary ? primary : PQerrorMessage(conn)).trimmed();
            locked = code == "55P03" || code == "40P01" || code == "40001";
        }
        PQclear(r);
        PQclear(PQgetResult(conn)); // the end of that statement's answers
    }
    PQclear(PQgetResult(conn)); // the synchronisation point
    PQexitPipelineMode(conn);
    if (!error.isEmpty())
        throw Engine::error(error, locked, QString());
    if (changed)
        throw DatabaseError::changedByAnotherUser();
}

void PostgresEngine::discardPipeline() {
    try {
        flush();
    } catch (...) {
        // The unit is being undone: what went wrong in it goes with it.
    }
}

qlonglong PostgresEngine::reserveRowId(const TableRef& ref) {
    if (!inUnit_)
        return 0;
    QList<qlonglong>& ids = reservedIds_[ref.sql()];
    if (ids.isEmpty()) {
        auto q = prepare(QStringLiteral("SELECT nextval(pg_get_serial_sequence(?, ?)) FROM "
                                        "generate_series(1, ?)"));
        q->bind(0, ref.sql());
        q->bind(1, bareRowId(ref));
        q->bind(2, reserveBlock_);
        while (q->step())
            ids << q->int64(0);
        reserveBlock_ = std::min(reserveBlock_ * 4, 4096);
    }
    return ids.isEmpty() ? 0 : ids.takeFirst();
}

std::unique_ptr<RowSetWriter> PostgresEngine::rowSetWriter(const TableRef& ref,
                                                           const QStringList& columns,
                                                           const QList<bool>& autoInc) {
    return std::make_unique<PostgresRowSetWriter>(*this, ref, columns, autoInc, this->columns(ref),
                                                  bareRowId(ref));
}

void PostgresEngine::syncAutoIncrement(const TableRef& ref) {
    const QString column = rowId(ref);
    const QString bare = bareRowId(ref);
    scalar(QStringLiteral("SELECT setval(pg_get_serial_sequence(?, ?), COALESCE(MAX(%1), 0) + 1, "
                          "false) FROM %2")
               .arg(column, ref.sql()),
           {ref.sql(), bare});
}

void PostgresEngine::catchUpNumbers() {
    // One round trip for every numbered column of the schema; a number never moves back.
    PGresult* r = PQexec(handle(), R"(DO $$
DECLARE c record;
BEGIN
  FOR c IN SELECT s.oid::regclass AS seq, t.oid::regclass AS tab, a.attname AS col
      FROM pg_class s
      JOIN pg_depend d ON d.objid = s.oid AND d.classid = 'pg_class'::regclass
          AND d.refclassid = 'pg_class'::regclass AND d.deptype IN ('a', 'i')
      JOIN pg_class t ON t.oid = d.refobjid
      JOIN pg_attribute a ON a.attrelid = t.oid AND a.attnum = d.refobjsubid
      WHERE s.relkind = 'S' AND t.relnamespace = current_schema()::regnamespace
  LOOP
    EXECUTE format('SELECT setval(%L, m) FROM (SELECT max(%I) AS m FROM %s) x '
                   'WHERE m >= COALESCE(pg_sequence_last_value(%L), 0)', c.seq, c.col, c.tab, c.seq);
  END LOOP;
END $$)");
    if (PQresultStatus(r) != PGRES_COMMAND_OK)
        PostgresStatement::fail(r, handle());
    PQclear(r);
}

StatementEffect PostgresEngine::effectOf(const QSqlQuery& query) const {
    const QVariant v = query.result() ? query.result()->handle() : QVariant();
    if (v.isValid() &&
        (qstrcmp(v.typeName(), "PGresult*") == 0 || qstrcmp(v.typeName(), "pg_result*") == 0)) {
        if (PGresult* r = *static_cast<PGresult* const*>(v.constData()))
            return PostgresStatement::effectOfTag(PQcmdStatus(r));
    }
    return StatementEffect::Writes;
}

void PostgresEngine::releaseSheet(const TableRef& /*ref*/, int /*unitDepth*/) {}

bool PostgresEngine::claimSheet(const QString& fileName, bool shared) {
    // Advisory locks are the database's, not the schema's: the schema is part of the name.
    const QString space = QStringLiteral("vok sheet in ") + schema_;
    const bool held =
        scalar(shared
                   ? QStringLiteral("SELECT pg_try_advisory_lock_shared(hashtext(?), hashtext(?))")
                   : QStringLiteral("SELECT pg_try_advisory_lock(hashtext(?), hashtext(?))"),
               {space, fileName})
            .toBool();
    if (held)
        sharedClaims_.insert(fileName, shared);
    return held;
}

void PostgresEngine::unclaimSheet(const QString& fileName) {
    const QString space = QStringLiteral("vok sheet in ") + schema_;
    const auto it = sharedClaims_.constFind(fileName);
    if (!open_ || it == sharedClaims_.constEnd())
        return;
    const bool shared = *it;
    sharedClaims_.erase(it);
    scalar(shared ? QStringLiteral("SELECT pg_advisory_unlock_shared(hashtext(?), hashtext(?))")
                  : QStringLiteral("SELECT pg_advisory_unlock(hashtext(?), hashtext(?))"),
           {space, fileName});
}

QStringList PostgresEngine::sheetFiles() {
    auto q = prepare(QStringLiteral("SELECT file_name FROM vok_sheets ORDER BY file_name"));
    QStringList names;
    while (q->step())
        names << q->value(0).toString();
    return names;
}

bool PostgresEngine::sheetExists(const QString& fileName) {
    return !scalar(QStringLiteral("SELECT 1 FROM vok_sheets WHERE file_name = ?"), {fileName})
                .isNull();
}

void PostgresEngine::createSheet(const QString& fileName, const TableDef& def, int unitDepth) {
    if (sheetExists(fileName))
        throw DatabaseError(QStringLiteral("%1 already exists").arg(fileName),
                            DatabaseError::Kind::Engine);
    const bool ownUnit = unitDepth == 0;
    try {
        if (ownUnit)
            scalar(QStringLiteral("BEGIN"));
        const qlonglong id =
            scalar(QStringLiteral("INSERT INTO vok_sheets (file_name) VALUES (?) RETURNING "
                                  "sheet_id"),
                   {fileName})
                .toLongLong();
        const TableRef ref(QString(), QStringLiteral("vok_sheet_%1").arg(id));
        // Index names are the schema's: each sheet's carry its table's name.
        TableDef sheet = def;
        for (IndexDef& index : sheet.indexes)
            index.name = ref.table + QLatin1Char('_') + index.name;
        for (const QString& sql : createTableSql(sheet, ref, settings_))
            scalar(sql);
        scalar(triggerSql(ref));
        if (ownUnit) {
            scalar(QStringLiteral("COMMIT"));
            noteOwnWrite();
        }
    } catch (...) {
        if (ownUnit && PQtransactionStatus(handle()) != PQTRANS_IDLE)
            PQclear(PQexec(handle(), "ROLLBACK"));
        throw;
    }
}

} // namespace vok

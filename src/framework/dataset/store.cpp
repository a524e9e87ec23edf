#include "store.h"

#include "databaseerror.h"
#include "framework/io/plainfilename.h"
#include "framework/io/shownlocation.h"
#include "framework/io/showntext.h"
#include "postgresstatement.h"
#include "rowwriter.h"
#include "sheetclaim.h"
#include "storestatement.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QStandardPaths>

namespace vok {

namespace {

// A sheet's name becomes a path in a folder: never one that leaves it or is not what it reads.
void checkSheetName(const QString& fileName) {
    if (const QString why = PlainFileName::refusal(fileName); !why.isEmpty())
        throw DatabaseError(QStringLiteral("\"%1\" cannot name a file of the data folder: %2")
                                .arg(ShownText::escaped(fileName), why),
                            DatabaseError::Kind::Engine);
}

} // namespace

Store::Store(QObject* parent) : QObject(parent) {}

Store::~Store() {
    try {
        close();
    } catch (...) {
    }
}

void Store::setParams(const QStringList& params) {
    params_ = params;
}

QString Store::path() const {
    for (const QString& p : params_) {
        if (p.startsWith(QLatin1String("path="), Qt::CaseInsensitive))
            return p.mid(5);
    }
    return {};
}

QString Store::defaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Vok/data");
}

QString Store::location() const {
    const QString p = path();
    if (p.isEmpty())
        return defaultFolder();
    return Engine::isServerLocation(p) || Engine::hasScheme(p) ? p : QDir(p).absolutePath();
}

QString Store::folder() const {
    return location();
}

QString Store::filePath(const QString& fileName) const {
    return QDir(folder()).filePath(fileName);
}

bool Store::isServer() const {
    return Engine::isServerLocation(path());
}

DatabaseError Store::engineError(QString text, bool locked, const QString& context) {
    return Engine::error(std::move(text), locked, context);
}

[[noreturn]] void Store::fail(const QSqlError& error, const QString& context) {
    Engine::fail(error, context);
}

QSqlDatabase Store::database() const {
    return engine_ ? engine_->database() : QSqlDatabase();
}

Engine& Store::engine() {
    ensureOpen();
    return *engine_;
}

void Store::ensureOpen() {
    if (!open_)
        open();
}

void Store::open() {
    if (open_)
        return;
    EngineConfig config;
    config.initialise();
    settings_ = config.settings();
    const QString where = location();
    auto engine = Engine::forLocation(where);
    engine->open(where, settings_);
    engine_ = std::move(engine);
    open_ = true;
}

void Store::close() {
    if (!open_)
        return;
    dropHeld();
    Q_EMIT aboutToClose();
    if (depth_ > 0) {
        try {
            engine_->rollbackUnit();
        } catch (...) {
        }
        depth_ = 0;
    }
    ++otherWrites_;
    columns_.clear();
    claimed_.clear(); // the engine's holds end with the connection
    ++connections_;
    engine_->close();
    engine_.reset();
    open_ = false;
}

void Store::noteWrite(const TableRef& ref) {
    ++tableWrites_[ref.sql()];
}

void Store::noteOtherWrite() {
    ++otherWrites_;
}

void Store::holding(RowWriter& writer) {
    const QList<RowWriter*> holders = holders_;
    for (RowWriter* other : holders) {
        if (other != &writer && other->table().sql() == writer.table().sql())
            other->sendHeld();
    }
    if (!holders_.contains(&writer))
        holders_.append(&writer);
}

void Store::notHolding(RowWriter& writer) {
    holders_.removeAll(&writer);
}

void Store::sendHeld() {
    // Each writer leaves the list as it sends.
    while (!holders_.isEmpty())
        holders_.first()->sendHeld();
}

void Store::sendHeld(const TableRef& ref) {
    if (holders_.isEmpty())
        return;
    const QList<RowWriter*> holders = holders_;
    for (RowWriter* writer : holders) {
        if (writer->table().sql() == ref.sql())
            writer->sendHeld();
    }
}

void Store::sendHeld(const TableRef& ref, const QStringList& columns, const QVariantList& values) {
    if (holders_.isEmpty())
        return;
    const QList<RowWriter*> holders = holders_;
    for (RowWriter* writer : holders) {
        if (writer->table().sql() == ref.sql() && writer->holdsRowsWhere(columns, values))
            writer->sendHeld();
    }
}

void Store::dropHeld() {
    for (RowWriter* writer : std::as_const(holders_))
        writer->dropHeld();
    holders_.clear();
}

std::unique_ptr<Statement> Store::statement(const QString& sql) {
    ensureOpen();
    return std::make_unique<StoreStatement>(*this, engine_->prepare(sql));
}

std::unique_ptr<Statement> Store::statement(const QString& sql, const TableRef& table,
                                            bool callerSends) {
    ensureOpen();
    return std::make_unique<StoreStatement>(*this, engine_->prepare(sql), table, callerSends);
}

QSqlQuery Store::prepare(const QString& sql) {
    ensureOpen();
    sendHeld();
    engine_->flush();
    QSqlQuery q(database());
    // Forward-only queries of the server's driver keep the connection busy until read to the
    // end; the record-sets' statements share the connection, so results are read at once.
    q.setForwardOnly(!isServer());
    if (!q.prepare(sql))
        fail(q.lastError(), QString());
    return q;
}

void Store::noteEffectOf(const QSqlQuery& query) {
    const StatementEffect effect = engine_->effectOf(query);
    if (effect == StatementEffect::Reads)
        return;
    noteOtherWrite();
    if (depth_ == 0)
        engine_->noteOwnWrite();
    // SQL written by hand may give rows their numbers; on a folder the engine then goes on after
    // the highest, and the server does the same from here.
    if (effect == StatementEffect::Inserts)
        engine_->catchUpNumbers();
}

void Store::execPrepared(QSqlQuery& query) {
    sendHeld();
    engine_->flush();
    engine_->countStatement();
    if (!query.exec())
        fail(query.lastError(), QString());
    noteEffectOf(query);
}

QSqlQuery Store::exec(const QString& sql, const QVariantList& binds) {
    if (binds.isEmpty()) {
        // Run as it stands: the server's driver cannot prepare every kind of statement.
        ensureOpen();
        QSqlQuery q(database());
        q.setForwardOnly(!isServer());
        sendHeld();
        engine_->flush();
        engine_->countStatement();
        if (!q.exec(sql))
            fail(q.lastError(), QString());
        noteEffectOf(q);
        return q;
    }
    QSqlQuery q = prepare(sql);
    const bool server = isServer();
    for (int i = 0; i < binds.size(); ++i) {
        const QVariant& b = binds[i];
        // The server's driver writes numbers into the statement as typed literals, which a
        // flag column refuses; as text the server reads each value as its column's type.
        if (server && !b.isNull() && b.typeId() != QMetaType::QString)
            q.bindValue(i, QString::fromUtf8(PostgresStatement::text(b)));
        else
            q.bindValue(i, b);
    }
    execPrepared(q);
    return q;
}

TableRef Store::resolve(const QString& fileName) {
    ensureOpen();
    QString base = fileName;
    const int dot = base.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        base.truncate(dot);
    if (const QString table = engine_->findTable(base); !table.isEmpty())
        return TableRef{engine_->mainSchema(), table};
    checkSheetName(fileName);
    try {
        return engine_->openSheet(fileName, depth_);
    } catch (const DatabaseError& e) {
        // An empty file or another program's database where Vok's should be says so first,
        // rather than only that one of its tables is missing.
        if (engine_->findTable(QStringLiteral("projects")).isEmpty())
            throw DatabaseError(
                QStringLiteral("%1 holds no Vok data: its database is empty or another "
                               "program's (%2)")
                    .arg(ShownLocation::of(location()), e.message()),
                DatabaseError::Kind::Engine);
        throw;
    }
}

void Store::release(const TableRef& ref) {
    if (!open_ || ref.schema == engine_->mainSchema())
        return;
    columns_.remove(ref.sql());
    engine_->releaseSheet(ref, depth_);
}

QStringList Store::columns(const TableRef& ref) {
    const QString key = ref.sql();
    if (auto it = columns_.constFind(key); it != columns_.constEnd())
        return *it;
    const QStringList names = engine().columns(ref);
    columns_.insert(key, names);
    return names;
}

QStringList Store::files() {
    return engine().sheetFiles();
}

void Store::createAndBegin(const QList<TableDef>& tables) {
    if (open_)
        throw DatabaseError(
            QStringLiteral("Cannot create %1 while it is open").arg(ShownLocation::of(location())),
            DatabaseError::Kind::Engine);
    EngineConfig config;
    config.initialise();
    settings_ = config.settings();
    const QString where = location();
    auto engine = Engine::forLocation(where);
    engine->createAndBegin(where, tables, settings_);
    engine_ = std::move(engine);
    open_ = true;
    depth_ = 1;
    heldLost_ = false;
}

bool Store::fileExists(const QString& fileName) {
    checkSheetName(fileName);
    return engine().sheetExists(fileName);
}

void Store::createFile(const QString& fileName, const TableDef& def) {
    checkSheetName(fileName);
    engine().createSheet(fileName, def, depth_);
    noteOtherWrite();
}

std::unique_ptr<SheetClaim> Store::claimSheet(const QString& fileName, SheetClaim::Kind kind) {
    checkSheetName(fileName);
    const bool shared = kind == SheetClaim::Kind::Shared;
    // The engine holds a sheet once per connection; claims through the same connection are told
    // apart here.
    if (const auto it = claimed_.find(fileName); it != claimed_.end()) {
        if (!shared || !it->shared)
            return {};
        ++it->count;
    } else {
        if (!engine().claimSheet(fileName, shared))
            return {};
        claimed_.insert(fileName, {1, shared});
    }
    return std::make_unique<SheetClaim>(this, fileName, connections_);
}

void Store::unclaimSheet(const QString& fileName, quint64 connection) {
    const auto it = claimed_.find(fileName);
    if (connection != connections_ || it == claimed_.end() || --it->count > 0)
        return;
    claimed_.erase(it);
    if (open_ && engine_)
        engine_->unclaimSheet(fileName);
}

void Store::syncAutoIncrement(const QString& table) {
    const TableRef ref = resolve(table);
    sendHeld(ref);
    engine().syncAutoIncrement(ref);
}

void Store::createDatabase(const QString& location, const QList<TableDef>& tables,
                           const EngineConfig::Settings& settings) {
    Engine::forLocation(location)->createDatabase(location, tables, settings);
}

bool Store::holdsData(const QString& location) {
    return Engine::forLocation(location)->holdsData(location);
}

void Store::begin() {
    ensureOpen();
    if (depth_ == 0) {
        heldLost_ = false;
        engine_->beginUnit();
        ++unit_;
        // Commits by others between the last look and the lock count as theirs.
        if (engine_->changedElsewhere())
            ++external_;
    } else {
        exec(QStringLiteral("SAVEPOINT vok%1").arg(depth_));
    }
    ++depth_;
}

void Store::commit() {
    if (depth_ <= 0)
        return;
    if (depth_ == 1) {
        sendHeld();
        if (heldLost_)
            throw DatabaseError(QStringLiteral("Not every change of this unit of work reached the "
                                               "data; none of them is stored"),
                                DatabaseError::Kind::Engine);
        engine_->commitUnit();
    } else
        exec(QStringLiteral("RELEASE vok%1").arg(depth_ - 1));
    --depth_;
    if (depth_ == 0)
        engine_->afterUnit();
}

void Store::rollback() {
    if (depth_ <= 0)
        return;
    // Rows held back were written after the last savepoint: they are undone without going.
    dropHeld();
    --depth_;
    try {
        if (depth_ == 0) {
            engine_->rollbackUnit();
        } else {
            exec(QStringLiteral("ROLLBACK TO vok%1").arg(depth_));
            exec(QStringLiteral("RELEASE vok%1").arg(depth_));
        }
    } catch (...) {
        ++otherWrites_;
        Q_EMIT rolledBack();
        throw;
    }
    if (depth_ == 0)
        engine_->afterUnit();
    ++otherWrites_;
    Q_EMIT rolledBack();
}

Store::Stamp Store::stamp(const TableRef& ref) {
    if (depth_ == 0 && engine().changedElsewhere())
        ++external_;
    return Stamp{tableWrites_.value(ref.sql()), otherWrites_, external_};
}

quint64 Store::othersCommits(bool look) {
    if (look && open_ && depth_ == 0 && engine_->changedElsewhere())
        ++external_;
    return external_;
}

} // namespace vok

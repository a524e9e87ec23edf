#include "engine.h"

#include "databaseerror.h"
#include "postgresengine.h"
#include "sqliteengine.h"

#include "framework/io/shownlocation.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>

namespace vok {

namespace {

std::atomic<int> connectionCounter{0};

} // namespace

Engine::~Engine() = default;

bool Engine::isServerLocation(const QString& location) {
    // The scheme in any case of letters, "postgresql:/..." mistyped, or libpq's keyword=value
    // words ("host=db dbname=vok"): none of them is ever a folder's name.
    static const QRegularExpression server(
        QStringLiteral("^\\s*(postgres(ql)?:|(host|hostaddr|port|dbname|user|password|service|"
                       "passfile|sslmode|connect_timeout|options|application_name)\\s*=)"),
        QRegularExpression::CaseInsensitiveOption);
    return server.match(location).hasMatch();
}

bool Engine::hasScheme(const QString& location) {
    static const QRegularExpression scheme(QStringLiteral("^\\s*[A-Za-z][A-Za-z0-9+.-]*://"));
    return scheme.match(location).hasMatch();
}

std::unique_ptr<Engine> Engine::forLocation(const QString& location) {
    if (isServerLocation(location))
        return std::make_unique<PostgresEngine>();
    // Another program's location is not a folder either: nothing is created under its name.
    if (hasScheme(location))
        throw DatabaseError(QStringLiteral("%1 is not a data location Vok knows: give a data "
                                           "folder or a PostgreSQL location (postgresql://...)")
                                .arg(ShownLocation::of(location)),
                            DatabaseError::Kind::Engine);
    return std::make_unique<SqliteEngine>();
}

void Engine::createAndBegin(const QString& location, const QList<TableDef>& tables,
                            const EngineConfig::Settings& settings) {
    createDatabase(location, tables, settings);
    open(location, settings);
    beginUnit();
}

QSqlDatabase Engine::database() const {
    return QSqlDatabase::database(connection_, false);
}

void Engine::openDatabase(const QString& driver, const QString& name, const QString& options,
                          const QString& context) {
    connection_ = QStringLiteral("vok-store-%1").arg(connectionCounter.fetch_add(1));
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, connection_);
    db.setDatabaseName(name);
    db.setConnectOptions(options);
    if (!db.open()) {
        const QSqlError err = db.lastError();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection_);
        connection_.clear();
        fail(err, context);
    }
    open_ = true;
}

void Engine::closeDatabase() {
    if (connection_.isEmpty())
        return;
    {
        QSqlDatabase db = database();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
    connection_.clear();
    open_ = false;
}

void Engine::execute(const QString& sql) {
    countStatement();
    QSqlQuery q(database());
    if (!q.exec(sql))
        fail(q.lastError(), QString());
}

QString Engine::columnType(const FieldDef& def) const {
    switch (def.type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
        return QStringLiteral("INTEGER");
    case FieldType::String:
        return QStringLiteral("VARCHAR(%1)").arg(def.size);
    case FieldType::Memo:
        return QStringLiteral("TEXT");
    case FieldType::Date:
        return QStringLiteral("DATE");
    case FieldType::DateTime:
        return dateTimeType();
    case FieldType::Boolean:
        return flagType();
    case FieldType::Float:
    case FieldType::Currency:
        return realType();
    }
    return QStringLiteral("TEXT");
}

QString Engine::collate(const FieldDef& /*def*/, const EngineConfig::Settings& /*settings*/) const {
    return {};
}

QStringList Engine::createTableSql(const TableDef& def, const TableRef& name,
                                   const EngineConfig::Settings& settings) const {
    QStringList cols;
    for (const FieldDef& f : def.fields) {
        QString col = quotedName(f.name) + QLatin1Char(' ') +
                      (f.type == FieldType::AutoInc ? autoIncrementColumn(f) : columnType(f));
        col += collate(f, settings);
        cols << col;
    }
    QStringList out{
        QStringLiteral("CREATE TABLE %1 (%2)").arg(name.sql(), cols.join(QStringLiteral(", ")))};
    for (const IndexDef& idx : def.indexes) {
        QStringList fields;
        for (const QString& f : idx.fields)
            fields << quotedName(f);
        // An index lives in the schema of its table; SQLite names the schema on the index,
        // the server on the table.
        const QString index =
            name.schema.isEmpty() || isServer()
                ? quotedName(idx.name)
                : quotedName(name.schema) + QLatin1Char('.') + quotedName(idx.name);
        const QString table = isServer() ? name.sql() : quotedName(name.table);
        out << QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                   .arg(idx.unique ? QStringLiteral("UNIQUE ") : QString(), index, table,
                        fields.join(QStringLiteral(", ")));
    }
    return out;
}

DatabaseError Engine::error(QString text, bool locked, const QString& context) {
    if (locked)
        text = QStringLiteral("The data is locked by another user of the data folder; try again "
                              "in a moment (%1)")
                   .arg(text);
    else if (text.contains(QLatin1String("readonly database")))
        text = QStringLiteral("The data folder or a file in it cannot be written (%1)").arg(text);
    if (!context.isEmpty())
        text = context + QStringLiteral(": ") + text;
    return DatabaseError(text, DatabaseError::Kind::Engine);
}

[[noreturn]] void Engine::fail(const QSqlError& err, const QString& context) {
    QString text = err.databaseText();
    if (text.isEmpty())
        text = err.text();
    const QString code = err.nativeErrorCode();
    // SQLite's busy code, or the server's lock timeout, deadlock and serialization states.
    const bool locked = code == QLatin1String("5") || code == QLatin1String("55P03") ||
                        code == QLatin1String("40P01") || code == QLatin1String("40001") ||
                        text.contains(QLatin1String("database is locked"));
    throw error(text.trimmed(), locked, context);
}

} // namespace vok

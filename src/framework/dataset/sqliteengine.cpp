#include "sqliteengine.h"

#include "databaseerror.h"
#include "sqlitestatement.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

namespace vok {

SqliteEngine::SqliteEngine() : alive_(std::make_shared<bool>(false)) {}

SqliteEngine::~SqliteEngine() {
    try {
        close();
    } catch (...) {
    }
}

QString SqliteEngine::uriFor(const QString& file, const char* mode) {
    QString uri =
        QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()).toString(QUrl::FullyEncoded);
    return uri + QStringLiteral("?mode=") + QLatin1String(mode);
}

QString SqliteEngine::filePath(const QString& fileName) const {
    return QDir(folder_).filePath(fileName);
}

bool SqliteEngine::present(const QString& file, const QString& what) const {
    const QFileInfo info(file);
    if (!info.exists() && !info.isSymLink())
        return false;
    if (info.isSymLink()) {
        const QString folder = QFileInfo(folder_).canonicalFilePath();
        const QString target = info.canonicalFilePath();
        if (target.isEmpty() || folder.isEmpty() || !target.startsWith(folder + QLatin1Char('/')))
            throw DatabaseError(QStringLiteral("%1 %2 is a link to a file outside the data folder "
                                               "%3; Vok does not read or write through it")
                                    .arg(what, info.fileName(), folder_),
                                DatabaseError::Kind::Engine);
    }
    if (!info.isFile())
        throw DatabaseError(
            QStringLiteral("%1 %2 in the data folder %3 is not a regular file; it is broken")
                .arg(what, info.fileName(), folder_),
            DatabaseError::Kind::Engine);
    return true;
}

sqlite3* SqliteEngine::handle() const {
    const QVariant v = database().driver()->handle();
    if (v.isValid() && qstrcmp(v.typeName(), "sqlite3*") == 0) {
        if (sqlite3* h = *static_cast<sqlite3* const*>(v.constData()))
            return h;
    }
    throw DatabaseError(QStringLiteral("The connection has no SQLite handle"),
                        DatabaseError::Kind::Engine);
}

void SqliteEngine::open(const QString& location, const EngineConfig::Settings& settings) {
    folder_ = QDir(location).absolutePath();
    settings_ = settings;
    const QString file = QDir(folder_).filePath(QLatin1String(DatabaseFile));
    if (!QFileInfo(folder_).isDir())
        throw DatabaseError(QStringLiteral("The data folder %1 does not exist").arg(folder_),
                            DatabaseError::Kind::Engine);
    if (!present(file, QStringLiteral("The database")))
        throw DatabaseError(QStringLiteral("The data folder %1 holds no Vok database (%2)")
                                .arg(folder_, DatabaseFile),
                            DatabaseError::Kind::Engine);
    openDatabase(QStringLiteral("QSQLITE"), uriFor(file, "rw"),
                 QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1")
                     .arg(settings_.localShare ? 10000 : 2000),
                 QStringLiteral("Cannot open %1").arg(file));
    alive_ = std::make_shared<bool>(true);
    // The engine reads the file only now: a damaged one is told with its name.
    try {
        // Rollback journal, not WAL: WAL needs shared memory, which network folders lack.
        execute(QStringLiteral("PRAGMA journal_mode=DELETE"));
        execute(settings_.localShare ? QStringLiteral("PRAGMA locking_mode=NORMAL")
                                     : QStringLiteral("PRAGMA locking_mode=EXCLUSIVE"));
    } catch (const DatabaseError& e) {
        close();
        throw DatabaseError(QStringLiteral("Cannot open %1: %2").arg(file, e.message()), e.kind());
    }
}

void SqliteEngine::close() {
    if (!open_)
        return;
    dataVersionQuery_.reset();
    dataVersion_ = -1;
    *alive_ = false;
    attached_.clear();
    pendingDetach_.clear();
    locks_.releaseAll();
    closeDatabase();
}

std::unique_ptr<Statement> SqliteEngine::prepare(const QString& sql) {
    return std::make_unique<SqliteStatement>(handle(), sql, alive_, runs_);
}

bool SqliteEngine::holdsData(const QString& location) {
    return QFileInfo::exists(QDir(location).filePath(QLatin1String(DatabaseFile)));
}

void SqliteEngine::createDatabase(const QString& location, const QList<TableDef>& tables,
                                  const EngineConfig::Settings& settings) {
    const QString file = QDir(location).filePath(QLatin1String(DatabaseFile));
    if (QFileInfo::exists(file) || QFileInfo(file).isSymLink())
        throw DatabaseError(QStringLiteral("%1 already holds a Vok database").arg(location),
                            DatabaseError::Kind::Engine);
    if (!QDir().mkpath(location))
        throw DatabaseError(QStringLiteral("Cannot create the folder %1").arg(location),
                            DatabaseError::Kind::Engine);
    QString error;
    try {
        openDatabase(QStringLiteral("QSQLITE"), uriFor(file, "rwc"),
                     QStringLiteral("QSQLITE_OPEN_URI"), QString());
        QStringList statements{QStringLiteral("PRAGMA page_size=%1").arg(settings.pageSize),
                               QStringLiteral("PRAGMA journal_mode=DELETE"),
                               QStringLiteral("PRAGMA user_version=%1").arg(settings.level),
                               QStringLiteral("BEGIN")};
        for (const TableDef& t : tables)
            statements << createTableSql(t, TableRef(QStringLiteral("main"), t.name), settings);
        statements << QStringLiteral("COMMIT");
        QSqlQuery q(database());
        for (const QString& s : statements) {
            if (!q.exec(s)) {
                error = q.lastError().text() + QStringLiteral(" [") + s + QLatin1Char(']');
                break;
            }
        }
    } catch (const DatabaseError& e) {
        error = e.message();
    }
    closeDatabase();
    if (!error.isEmpty()) {
        QFile::remove(file);
        throw DatabaseError(QStringLiteral("Cannot create %1: %2").arg(file, error),
                            DatabaseError::Kind::Engine);
    }
}

void SqliteEngine::beginUnit() {
    execute(QStringLiteral("BEGIN IMMEDIATE"));
}

void SqliteEngine::commitUnit() {
    execute(QStringLiteral("COMMIT"));
}

void SqliteEngine::rollbackUnit() {
    execute(QStringLiteral("ROLLBACK"));
}

bool SqliteEngine::changedElsewhere() {
    // A look at the file's change counter, not a statement on the data: not counted.
    if (!dataVersionQuery_)
        dataVersionQuery_ =
            std::make_unique<SqliteStatement>(handle(), QStringLiteral("PRAGMA main.data_version"),
                                              alive_, std::make_shared<quint64>(0));
    const qlonglong version = dataVersionQuery_->step() ? dataVersionQuery_->int64(0) : -1;
    dataVersionQuery_->reset();
    if (version == dataVersion_)
        return false;
    dataVersion_ = version;
    return true;
}

QString SqliteEngine::rowId(const TableRef& /*ref*/) {
    return QStringLiteral("rowid");
}

QString SqliteEngine::returningRowId(const TableRef& /*ref*/) {
    return {};
}

QString SqliteEngine::sameValue() const {
    // Text compares character for character whatever the column's collation.
    return QStringLiteral("IS ? COLLATE BINARY");
}

QString SqliteEngine::dateTimeType() const {
    return QStringLiteral("DATETIME");
}

QString SqliteEngine::flagType() const {
    return QStringLiteral("BOOLEAN");
}

QString SqliteEngine::realType() const {
    return QStringLiteral("REAL");
}

QString SqliteEngine::autoIncrementColumn(const FieldDef& /*def*/) const {
    return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
}

QString SqliteEngine::collate(const FieldDef& def, const EngineConfig::Settings& settings) const {
    if ((def.type == FieldType::String || def.type == FieldType::Memo) &&
        settings.collation() != QLatin1String("BINARY"))
        return QStringLiteral(" COLLATE ") + settings.collation();
    return {};
}

QString SqliteEngine::findTable(const QString& baseName) {
    QSqlQuery q(database());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral(
        "SELECT name FROM main.sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"));
    q.addBindValue(baseName);
    if (!q.exec())
        fail(q.lastError(), QString());
    return q.next() ? q.value(0).toString() : QString();
}

QString SqliteEngine::mainSchema() const {
    return QStringLiteral("main");
}

QStringList SqliteEngine::columns(const TableRef& ref) {
    QSqlQuery q(database());
    if (!q.exec(QStringLiteral("PRAGMA %1.table_info(%2)").arg(ref.schema, quotedName(ref.table))))
        fail(q.lastError(), QString());
    QStringList names;
    while (q.next())
        names << q.value(1).toString();
    return names;
}

TableRef SqliteEngine::openSheet(const QString& fileName, int unitDepth) {
    const QString file = filePath(fileName);
    if (!present(file, QStringLiteral("The time sheet")))
        throw DatabaseError(
            QStringLiteral("Table does not exist: %1 (data folder %2)").arg(fileName, folder_),
            DatabaseError::Kind::Engine);
    const QString key = QFileInfo(file).canonicalFilePath();
    Attached& a = attached_[key];
    if (a.refs == 0 && a.alias.isEmpty()) {
        if (unitDepth > 0) {
            attached_.remove(key);
            throw DatabaseError(
                QStringLiteral("Cannot open %1 while a transaction is running").arg(fileName),
                DatabaseError::Kind::Engine);
        }
        const QString alias = QStringLiteral("file%1").arg(++aliasCounter_);
        QSqlQuery q(database());
        if (!q.exec(QStringLiteral("ATTACH DATABASE '%1' AS %2")
                        .arg(uriFor(file, "rw").replace(QLatin1Char('\''), QStringLiteral("''")),
                             alias))) {
            attached_.remove(key);
            fail(q.lastError(), QStringLiteral("Cannot open %1").arg(file));
        }
        a.alias = alias;
        pendingDetach_.removeAll(alias);
        execute(QStringLiteral("PRAGMA %1.journal_mode=DELETE").arg(alias));
    }
    QSqlQuery q(database());
    if (!q.exec(QStringLiteral("SELECT name FROM %1.sqlite_master WHERE type = 'table' AND name "
                               "NOT LIKE 'sqlite_%' ORDER BY rowid LIMIT 1")
                    .arg(a.alias)))
        fail(q.lastError(), QString());
    if (!q.next()) {
        if (a.refs == 0) {
            pendingDetach_.append(a.alias);
            attached_.remove(key);
            q.finish();
            detachPending();
        }
        throw DatabaseError(QStringLiteral("%1 holds no table").arg(file),
                            DatabaseError::Kind::Engine);
    }
    ++a.refs;
    return TableRef{a.alias, q.value(0).toString()};
}

void SqliteEngine::releaseSheet(const TableRef& ref, int unitDepth) {
    for (auto it = attached_.begin(); it != attached_.end(); ++it) {
        if (it->alias != ref.schema)
            continue;
        if (--it->refs <= 0) {
            pendingDetach_.append(it->alias);
            attached_.erase(it);
            if (unitDepth == 0)
                detachPending();
        }
        return;
    }
}

void SqliteEngine::afterUnit() {
    detachPending();
}

void SqliteEngine::detachPending() {
    const QStringList aliases = pendingDetach_;
    pendingDetach_.clear();
    for (const QString& alias : aliases) {
        QSqlQuery q(database());
        if (!q.exec(QStringLiteral("DETACH DATABASE %1").arg(alias)))
            pendingDetach_.append(alias); // a statement still holds it; try again later
    }
}

bool SqliteEngine::claimSheet(const QString& fileName) {
    return locks_.claim(filePath(fileName + QStringLiteral(".lock")));
}

void SqliteEngine::unclaimSheet(const QString& fileName) {
    locks_.release(filePath(fileName + QStringLiteral(".lock")));
}

QStringList SqliteEngine::sheetFiles() {
    return QDir(folder_).entryList({QStringLiteral("*.db")}, QDir::Files, QDir::Name);
}

bool SqliteEngine::sheetExists(const QString& fileName) {
    return present(filePath(fileName), QStringLiteral("The time sheet"));
}

void SqliteEngine::createSheet(const QString& fileName, const TableDef& def, int unitDepth) {
    const QString file = filePath(fileName);
    if (unitDepth > 0)
        throw DatabaseError(
            QStringLiteral("Cannot create %1 while a transaction is running").arg(file),
            DatabaseError::Kind::Engine);
    if (QFileInfo::exists(file) || QFileInfo(file).isSymLink())
        throw DatabaseError(QStringLiteral("%1 already exists").arg(file),
                            DatabaseError::Kind::Engine);
    const QString alias = QStringLiteral("newfile%1").arg(++aliasCounter_);
    QSqlQuery q(database());
    if (!q.exec(
            QStringLiteral("ATTACH DATABASE '%1' AS %2")
                .arg(uriFor(file, "rwc").replace(QLatin1Char('\''), QStringLiteral("''")), alias)))
        fail(q.lastError(), QStringLiteral("Cannot create %1").arg(file));
    bool inUnit = false;
    try {
        execute(QStringLiteral("PRAGMA %1.page_size=%2").arg(alias).arg(settings_.pageSize));
        execute(QStringLiteral("PRAGMA %1.journal_mode=DELETE").arg(alias));
        execute(QStringLiteral("PRAGMA %1.user_version=%2").arg(alias).arg(settings_.level));
        execute(QStringLiteral("BEGIN"));
        inUnit = true;
        for (const QString& sql : createTableSql(def, TableRef(alias, def.name), settings_))
            execute(sql);
        execute(QStringLiteral("COMMIT"));
    } catch (...) {
        if (inUnit)
            QSqlQuery(database()).exec(QStringLiteral("ROLLBACK"));
        QSqlQuery(database()).exec(QStringLiteral("DETACH DATABASE %1").arg(alias));
        QFile::remove(file);
        throw;
    }
    QSqlQuery detach(database());
    if (!detach.exec(QStringLiteral("DETACH DATABASE %1").arg(alias)))
        fail(detach.lastError(), QStringLiteral("Cannot close %1").arg(file));
}

} // namespace vok

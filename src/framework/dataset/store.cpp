#include "store.h"

#include "databaseerror.h"
#include "statement.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QUrl>
#include <atomic>

namespace vok {

namespace {

std::atomic<int> connectionCounter{0};

} // namespace

TableRef::TableRef(QString schemaName, QString tableName)
    : schema(std::move(schemaName)), table(std::move(tableName)),
      sql_(quotedName(schema) + QLatin1Char('.') + quotedName(table)) {}

Store::Store(QObject* parent)
    : QObject(parent),
      connection_(QStringLiteral("vok-store-%1").arg(connectionCounter.fetch_add(1))) {}

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

QString Store::folder() const {
    const QString p = path();
    return p.isEmpty() ? defaultFolder() : QDir(p).absolutePath();
}

QString Store::filePath(const QString& fileName) const {
    return QDir(folder()).filePath(fileName);
}

QString Store::uriFor(const QString& file, const char* mode) {
    QString uri =
        QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()).toString(QUrl::FullyEncoded);
    return uri + QStringLiteral("?mode=") + QLatin1String(mode);
}

[[noreturn]] void Store::fail(const QSqlError& error, const QString& context) {
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.text();
    throw engineError(text,
                      error.nativeErrorCode() == QLatin1String("5") ||
                          text.contains(QLatin1String("database is locked")),
                      context);
}

DatabaseError Store::engineError(QString text, bool locked, const QString& context) {
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

QSqlDatabase Store::database() const {
    return QSqlDatabase::database(connection_, false);
}

sqlite3* Store::handle() {
    if (!open_)
        open();
    const QVariant v = database().driver()->handle();
    if (v.isValid() && qstrcmp(v.typeName(), "sqlite3*") == 0) {
        if (sqlite3* h = *static_cast<sqlite3* const*>(v.constData()))
            return h;
    }
    throw DatabaseError(QStringLiteral("The connection has no SQLite handle"),
                        DatabaseError::Kind::Engine);
}

void Store::open() {
    if (open_)
        return;
    EngineConfig config;
    config.initialise();
    settings_ = config.settings();

    const QString dir = folder();
    const QString file = QDir(dir).filePath(QLatin1String(DatabaseFile));
    if (!QFileInfo(dir).isDir())
        throw DatabaseError(QStringLiteral("The data folder %1 does not exist").arg(dir),
                            DatabaseError::Kind::Engine);
    if (!QFileInfo::exists(file))
        throw DatabaseError(
            QStringLiteral("The data folder %1 holds no Vok database (%2)").arg(dir, DatabaseFile),
            DatabaseError::Kind::Engine);

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db.setDatabaseName(uriFor(file, "rw"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1")
                             .arg(settings_.localShare ? 10000 : 2000));
    if (!db.open()) {
        const QSqlError err = db.lastError();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection_);
        fail(err, QStringLiteral("Cannot open %1").arg(file));
    }
    open_ = true;
    // The engine reads the file only now: a damaged one is told with its name.
    try {
        // Rollback journal, not WAL: WAL needs shared memory, which network folders lack.
        exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
        exec(settings_.localShare ? QStringLiteral("PRAGMA locking_mode=NORMAL")
                                  : QStringLiteral("PRAGMA locking_mode=EXCLUSIVE"));
    } catch (const DatabaseError& e) {
        db = QSqlDatabase(); // the connection is removed by close()
        close();
        throw DatabaseError(QStringLiteral("Cannot open %1: %2").arg(file, e.message()), e.kind());
    }
}

void Store::close() {
    if (!open_)
        return;
    Q_EMIT aboutToClose();
    if (depth_ > 0) {
        try {
            exec(QStringLiteral("ROLLBACK"));
        } catch (...) {
        }
        depth_ = 0;
    }
    dataVersionQuery_.reset();
    dataVersion_ = -1;
    ++otherWrites_;
    attached_.clear();
    pendingDetach_.clear();
    columns_.clear();
    {
        QSqlDatabase db = database();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
    open_ = false;
}

QSqlQuery Store::prepare(const QString& sql) {
    if (!open_)
        open();
    QSqlQuery q(database());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        fail(q.lastError(), QString());
    return q;
}

void Store::execPrepared(QSqlQuery& query) {
    if (!query.exec())
        fail(query.lastError(), QString());
}

QSqlQuery Store::exec(const QString& sql, const QVariantList& binds) {
    static const QRegularExpression writes(
        QStringLiteral("^\\s*(INSERT|UPDATE|DELETE|REPLACE|CREATE|DROP|ALTER)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    if (writes.match(sql).hasMatch())
        noteOtherWrite();
    QSqlQuery q = prepare(sql);
    for (int i = 0; i < binds.size(); ++i)
        q.bindValue(i, binds[i]);
    execPrepared(q);
    return q;
}

TableRef Store::resolve(const QString& fileName) {
    if (!open_)
        open();
    QString base = fileName;
    const int dot = base.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        base.truncate(dot);
    {
        QSqlQuery q = exec(QStringLiteral("SELECT name FROM main.sqlite_master WHERE type = "
                                          "'table' AND name = ? COLLATE NOCASE"),
                           {base});
        if (q.next())
            return TableRef{QStringLiteral("main"), q.value(0).toString()};
    }
    const QString file = filePath(fileName);
    if (!QFileInfo(file).isFile())
        throw DatabaseError(
            QStringLiteral("Table does not exist: %1 (data folder %2)").arg(fileName, folder()),
            DatabaseError::Kind::Engine);
    const QString key = QFileInfo(file).canonicalFilePath();
    Attached& a = attached_[key];
    if (a.refs == 0 && a.alias.isEmpty()) {
        if (depth_ > 0) {
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
        exec(QStringLiteral("PRAGMA %1.journal_mode=DELETE").arg(alias));
    }
    QSqlQuery q = exec(
        QStringLiteral("SELECT name FROM %1.sqlite_master WHERE type = 'table' AND name NOT LIKE "
                       "'sqlite_%' ORDER BY rowid LIMIT 1")
            .arg(a.alias));
    if (!q.next()) {
        if (a.refs == 0) {
            pendingDetach_.append(a.alias);
            attached_.remove(key);
            detachPending();
        }
        throw DatabaseError(QStringLiteral("%1 holds no table").arg(file),
                            DatabaseError::Kind::Engine);
    }
    ++a.refs;
    return TableRef{a.alias, q.value(0).toString()};
}

void Store::release(const TableRef& ref) {
    if (ref.schema == QLatin1String("main") || !open_)
        return;
    for (auto it = attached_.begin(); it != attached_.end(); ++it) {
        if (it->alias != ref.schema)
            continue;
        if (--it->refs <= 0) {
            pendingDetach_.append(it->alias);
            columns_.remove(ref.sql());
            attached_.erase(it);
            detachPending();
        }
        return;
    }
}

void Store::detachPending() {
    if (depth_ > 0)
        return;
    const QStringList aliases = pendingDetach_;
    pendingDetach_.clear();
    for (const QString& alias : aliases) {
        QSqlQuery q(database());
        if (!q.exec(QStringLiteral("DETACH DATABASE %1").arg(alias)))
            pendingDetach_.append(alias); // a statement still holds it; try again later
    }
}

QStringList Store::columns(const TableRef& ref) {
    const QString key = ref.sql();
    if (auto it = columns_.constFind(key); it != columns_.constEnd())
        return *it;
    QSqlQuery q =
        exec(QStringLiteral("PRAGMA %1.table_info(%2)").arg(ref.schema, quotedName(ref.table)));
    QStringList names;
    while (q.next())
        names << q.value(1).toString();
    columns_.insert(key, names);
    return names;
}

QString Store::createTableSql(const TableDef& def, const QString& schema,
                              const QString& collation) {
    QStringList cols;
    for (const FieldDef& f : def.fields) {
        QString col = quotedName(f.name) + QLatin1Char(' ') + sqlType(f);
        if (f.type == FieldType::AutoInc)
            col += QStringLiteral(" PRIMARY KEY AUTOINCREMENT");
        if ((f.type == FieldType::String || f.type == FieldType::Memo) &&
            collation != QLatin1String("BINARY"))
            col += QStringLiteral(" COLLATE ") + collation;
        cols << col;
    }
    return QStringLiteral("CREATE TABLE %1.%2 (%3)")
        .arg(schema, quotedName(def.name), cols.join(QStringLiteral(", ")));
}

QStringList Store::createIndexSql(const TableDef& def, const QString& schema) {
    QStringList out;
    for (const IndexDef& idx : def.indexes) {
        QStringList cols;
        for (const QString& f : idx.fields)
            cols << quotedName(f);
        out << QStringLiteral("CREATE %1INDEX %2.%3 ON %4 (%5)")
                   .arg(idx.unique ? QStringLiteral("UNIQUE ") : QString(), schema,
                        quotedName(idx.name), quotedName(def.name),
                        cols.join(QStringLiteral(", ")));
    }
    return out;
}

void Store::createFile(const QString& file, const TableDef& def) {
    if (!open_)
        open();
    if (depth_ > 0)
        throw DatabaseError(
            QStringLiteral("Cannot create %1 while a transaction is running").arg(file),
            DatabaseError::Kind::Engine);
    if (QFileInfo::exists(file))
        throw DatabaseError(QStringLiteral("%1 already exists").arg(file),
                            DatabaseError::Kind::Engine);
    const QString alias = QStringLiteral("newfile%1").arg(++aliasCounter_);
    QSqlQuery q(database());
    if (!q.exec(
            QStringLiteral("ATTACH DATABASE '%1' AS %2")
                .arg(uriFor(file, "rwc").replace(QLatin1Char('\''), QStringLiteral("''")), alias)))
        fail(q.lastError(), QStringLiteral("Cannot create %1").arg(file));
    try {
        exec(QStringLiteral("PRAGMA %1.page_size=%2").arg(alias).arg(settings_.pageSize));
        exec(QStringLiteral("PRAGMA %1.journal_mode=DELETE").arg(alias));
        exec(QStringLiteral("PRAGMA %1.user_version=%2").arg(alias).arg(settings_.level));
        begin();
        exec(createTableSql(def, alias, settings_.collation()));
        for (const QString& sql : createIndexSql(def, alias))
            exec(sql);
        commit();
    } catch (...) {
        if (depth_ > 0)
            rollback();
        QSqlQuery(database()).exec(QStringLiteral("DETACH DATABASE %1").arg(alias));
        QFile::remove(file);
        throw;
    }
    QSqlQuery detach(database());
    if (!detach.exec(QStringLiteral("DETACH DATABASE %1").arg(alias)))
        fail(detach.lastError(), QStringLiteral("Cannot close %1").arg(file));
}

void Store::createDatabase(const QString& folder, const QList<TableDef>& tables,
                           const EngineConfig::Settings& settings) {
    const QString file = QDir(folder).filePath(QLatin1String(DatabaseFile));
    if (QFileInfo::exists(file))
        throw DatabaseError(QStringLiteral("%1 already holds a Vok database").arg(folder),
                            DatabaseError::Kind::Engine);
    if (!QDir().mkpath(folder))
        throw DatabaseError(QStringLiteral("Cannot create the folder %1").arg(folder),
                            DatabaseError::Kind::Engine);
    const QString name = QStringLiteral("vok-create-%1").arg(connectionCounter.fetch_add(1));
    bool ok = false;
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(uriFor(file, "rwc"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
        if (db.open()) {
            QSqlQuery q(db);
            QStringList statements{QStringLiteral("PRAGMA page_size=%1").arg(settings.pageSize),
                                   QStringLiteral("PRAGMA journal_mode=DELETE"),
                                   QStringLiteral("PRAGMA user_version=%1").arg(settings.level),
                                   QStringLiteral("BEGIN")};
            for (const TableDef& t : tables) {
                statements << createTableSql(t, QStringLiteral("main"), settings.collation());
                statements << createIndexSql(t, QStringLiteral("main"));
            }
            statements << QStringLiteral("COMMIT");
            ok = true;
            for (const QString& s : statements) {
                if (!q.exec(s)) {
                    error = q.lastError().text() + QStringLiteral(" [") + s + QLatin1Char(']');
                    ok = false;
                    break;
                }
            }
        } else {
            error = db.lastError().text();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (!ok) {
        QFile::remove(file);
        throw DatabaseError(QStringLiteral("Cannot create %1: %2").arg(file, error),
                            DatabaseError::Kind::Engine);
    }
}

void Store::begin() {
    if (!open_)
        open();
    if (depth_ == 0)
        exec(QStringLiteral("BEGIN IMMEDIATE"));
    else
        exec(QStringLiteral("SAVEPOINT vok%1").arg(depth_));
    ++depth_;
}

void Store::commit() {
    if (depth_ <= 0)
        return;
    if (depth_ == 1)
        exec(QStringLiteral("COMMIT"));
    else
        exec(QStringLiteral("RELEASE vok%1").arg(depth_ - 1));
    --depth_;
    if (depth_ == 0)
        detachPending();
}

void Store::rollback() {
    if (depth_ <= 0)
        return;
    --depth_;
    try {
        if (depth_ == 0) {
            exec(QStringLiteral("ROLLBACK"));
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
        detachPending();
    ++otherWrites_;
    Q_EMIT rolledBack();
}

Store::Stamp Store::stamp(const TableRef& ref) {
    if (depth_ == 0) {
        if (!dataVersionQuery_)
            dataVersionQuery_ =
                std::make_unique<Statement>(*this, QStringLiteral("PRAGMA main.data_version"));
        const qlonglong version = dataVersionQuery_->step() ? dataVersionQuery_->int64(0) : -1;
        dataVersionQuery_->reset();
        if (version != dataVersion_) {
            dataVersion_ = version;
            ++external_;
        }
    }
    return Stamp{tableWrites_.value(ref.sql()), otherWrites_, external_};
}

} // namespace vok

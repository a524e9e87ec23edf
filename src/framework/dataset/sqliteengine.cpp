#include "sqliteengine.h"

#include "databaseerror.h"
#include "framework/io/heldfolder.h"
#include "sqlitefilecheck.h"
#include "sqlitestatement.h"
#include "textfold.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlResult>
#include <QUrl>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>

#include <sqlite3.h>

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

namespace {

DatabaseError refused(const QString& text) {
    return DatabaseError(text, DatabaseError::Kind::Engine);
}

// A name swapped for another file between the judgment and SQLite's open.
DatabaseError swapped(const QString& what, const QString& fileName, const QString& folder) {
    return refused(QStringLiteral("%1 %2 in the data folder %3 was replaced by another file while "
                                  "it was being opened; nothing of it was read")
                       .arg(what, fileName, folder));
}

// A new empty database file, made here, never through a link put at its name: SQLite then opens
// this very file, or nothing. `taken` says that the name is.
FileIdentity createdFile(const HeldFolder& folder, const QString& fileName, const QString& taken) {
    const HeldFile made = folder.open(fileName, O_RDWR | O_CREAT | O_EXCL, 0666);
    if (made.isOpen())
        return made.identity();
    if (made.error() == EEXIST || made.error() == ELOOP)
        throw refused(taken);
    throw refused(
        QStringLiteral("Cannot create %1: %2")
            .arg(folder.filePath(fileName), QString::fromLocal8Bit(std::strerror(made.error()))));
}

} // namespace

HeldFile SqliteEngine::judged(const QString& fileName, const QString& what, bool sheet) const {
    // Looked at (O_PATH), not opened for reading: closing a descriptor opened for reading would
    // drop the locks SQLite holds on the same file, in the middle of a unit of work.
    HeldFile file = held_->look(fileName);
    switch (file.kind()) {
    case HeldFile::Kind::Absent:
        return file;
    case HeldFile::Kind::Regular:
        break;
    case HeldFile::Kind::Link: {
        const QString folder = QFileInfo(folder_).canonicalFilePath();
        const QString target = QFileInfo(filePath(fileName)).canonicalFilePath();
        if (target.isEmpty() || folder.isEmpty() || !target.startsWith(folder + QLatin1Char('/')))
            throw refused(QStringLiteral("%1 %2 is a link to a file outside the data folder %3; "
                                         "Vok does not read or write through it")
                              .arg(what, fileName, folder_));
        throw refused(QStringLiteral("%1 %2 in the data folder %3 is a link to %4; Vok does not "
                                     "read or write through links")
                          .arg(what, fileName, folder_, QFileInfo(target).fileName()));
    }
    case HeldFile::Kind::Unopened:
        throw refused(
            QStringLiteral("Cannot open %1: %2")
                .arg(filePath(fileName), QString::fromLocal8Bit(std::strerror(file.error()))));
    default:
        throw refused(
            QStringLiteral("%1 %2 in the data folder %3 is not a regular file; it is broken")
                .arg(what, fileName, folder_));
    }
    if (sheet && file.identity() == database_)
        throw refused(QStringLiteral("%1 %2 in the data folder %3 is the database itself under "
                                     "another name; Vok does not read or write it as a sheet")
                          .arg(what, fileName, folder_));
    // Another name of the file (a hard link) may be another member's sheet or a file outside
    // the folder: lines read from it would be booked under the wrong name, or deleted there.
    if (sheet && file.links() != 1)
        throw refused(QStringLiteral("%1 %2 in the data folder %3 has %4 names (hard links); Vok "
                                     "does not read or write a file that other names lead to")
                          .arg(what, fileName, folder_)
                          .arg(file.links()));
    return file;
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

StatementEffect SqliteEngine::effectOf(const QSqlQuery& query) const {
    const QVariant v = query.result() ? query.result()->handle() : QVariant();
    if (v.isValid() && qstrcmp(v.typeName(), "sqlite3_stmt*") == 0) {
        if (sqlite3_stmt* stmt = *static_cast<sqlite3_stmt* const*>(v.constData()))
            return sqlite3_stmt_readonly(stmt) ? StatementEffect::Reads : StatementEffect::Writes;
    }
    return StatementEffect::Writes;
}

void SqliteEngine::open(const QString& location, const EngineConfig::Settings& settings) {
    folder_ = QDir(location).absolutePath();
    settings_ = settings;
    const QString file = QDir(folder_).filePath(QLatin1String(DatabaseFile));
    int error = 0;
    auto held = std::make_unique<HeldFolder>(folder_, &error);
    if (!held->isOpen())
        throw refused(QStringLiteral("The data folder %1 does not exist").arg(folder_));
    held_ = std::move(held);
    const HeldFile db = judged(QLatin1String(DatabaseFile), QStringLiteral("The database"), false);
    if (!db.isOpen())
        throw refused(QStringLiteral("The data folder %1 holds no Vok database (%2)")
                          .arg(folder_, DatabaseFile));
    database_ = db.identity();
    {
        SqliteFileCheck check(database_);
        try {
            openDatabase(QStringLiteral("QSQLITE"), uriFor(file, "rw"),
                         QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1")
                             .arg(settings_.localShare ? 10000 : 2000),
                         QStringLiteral("Cannot open %1").arg(file));
        } catch (const DatabaseError&) {
            if (!check.sawAnotherFile())
                throw;
        }
        if (!check.passed()) {
            closeDatabase();
            throw swapped(QStringLiteral("The database"), QLatin1String(DatabaseFile), folder_);
        }
    }
    protection_ = std::make_unique<OutputTarget::Protection>(*held_);
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
    protection_.reset();
    if (!open_) {
        held_.reset();
        return;
    }
    dataVersionQuery_.reset();
    dataVersion_ = -1;
    *alive_ = false;
    attached_.clear();
    pendingDetach_.clear();
    locks_.releaseAll();
    closeDatabase();
    held_.reset();
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
        throw refused(QStringLiteral("%1 already holds a Vok database").arg(location));
    if (!QDir().mkpath(location))
        throw refused(QStringLiteral("Cannot create the folder %1").arg(location));
    int folderError = 0;
    const HeldFolder made(location, &folderError);
    if (!made.isOpen())
        throw refused(QStringLiteral("Cannot create the folder %1").arg(location));
    const FileIdentity identity =
        createdFile(made, QLatin1String(DatabaseFile),
                    QStringLiteral("%1 already holds a Vok database").arg(location));
    QString error;
    try {
        SqliteFileCheck check(identity);
        openDatabase(QStringLiteral("QSQLITE"), uriFor(file, "rw"),
                     QStringLiteral("QSQLITE_OPEN_URI"), QString());
        if (!check.passed())
            throw swapped(QStringLiteral("The database"), QLatin1String(DatabaseFile), location);
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
        made.removeIf(QLatin1String(DatabaseFile), identity);
        throw refused(QStringLiteral("Cannot create %1: %2").arg(file, error));
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

namespace {

// vok_folded_contains(text, folded): whether the text holds the folded needle, letter case and
// accents aside. Most names are plain ASCII: those are compared where they lie, without a copy.
void sqlFoldedContains(sqlite3_context* context, int, sqlite3_value** argv) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const auto* needle = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    if (!text || !needle) {
        sqlite3_result_int(context, 0);
        return;
    }
    const int n = sqlite3_value_bytes(argv[0]);
    const int m = sqlite3_value_bytes(argv[1]);
    const bool ascii = std::all_of(text, text + n, [](char c) { return (c & 0x80) == 0; });
    if (!ascii) {
        sqlite3_result_int(
            context, TextFold::contains(QString::fromUtf8(text, n), QString::fromUtf8(needle, m)));
        return;
    }
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (int at = 0; at + m <= n; ++at) {
        int k = 0;
        while (k < m && lower(text[at + k]) == needle[k])
            ++k;
        if (k == m) {
            sqlite3_result_int(context, 1);
            return;
        }
    }
    sqlite3_result_int(context, 0);
}

} // namespace

QString SqliteEngine::foldedContains(const QString& column) {
    // Registered on the connection it is asked of: cheap, and a connection opened again has it.
    const int rc = sqlite3_create_function_v2(handle(), "vok_folded_contains", 2,
                                              SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                              &sqlFoldedContains, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throw DatabaseError(QString::fromUtf8(sqlite3_errstr(rc)), DatabaseError::Kind::Engine);
    return QStringLiteral("vok_folded_contains(%1, ?)").arg(column);
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

void SqliteEngine::attach(const QString& fileName, const FileIdentity& file, const QString& alias,
                          const char* mode) {
    const QString path = filePath(fileName);
    SqliteFileCheck check(file);
    QSqlQuery q(database());
    if (!q.exec(
            QStringLiteral("ATTACH DATABASE '%1' AS %2")
                .arg(uriFor(path, mode).replace(QLatin1Char('\''), QStringLiteral("''")), alias))) {
        if (check.sawAnotherFile())
            throw swapped(QStringLiteral("The time sheet"), fileName, folder_);
        fail(q.lastError(), QStringLiteral("Cannot open %1").arg(path));
    }
    if (!check.passed()) {
        QSqlQuery(database()).exec(QStringLiteral("DETACH DATABASE %1").arg(alias));
        throw swapped(QStringLiteral("The time sheet"), fileName, folder_);
    }
}

TableRef SqliteEngine::openSheet(const QString& fileName, int unitDepth) {
    const QString file = filePath(fileName);
    const HeldFile sheet = judged(fileName, QStringLiteral("The time sheet"), true);
    if (!sheet.isOpen())
        throw DatabaseError(
            QStringLiteral("Table does not exist: %1 (data folder %2)").arg(fileName, folder_),
            DatabaseError::Kind::Engine);
    Attached& a = attached_[fileName];
    if (a.refs == 0 && a.alias.isEmpty()) {
        if (unitDepth > 0) {
            attached_.remove(fileName);
            throw DatabaseError(
                QStringLiteral("Cannot open %1 while a transaction is running").arg(fileName),
                DatabaseError::Kind::Engine);
        }
        const QString alias = QStringLiteral("file%1").arg(++aliasCounter_);
        try {
            attach(fileName, sheet.identity(), alias, "rw");
        } catch (...) {
            attached_.remove(fileName);
            throw;
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
            attached_.remove(fileName);
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

bool SqliteEngine::claimSheet(const QString& fileName, bool shared) {
    return locks_.claim(filePath(fileName + QStringLiteral(".lock")),
                        shared ? LockFiles::Kind::SharedIfThere : LockFiles::Kind::Alone);
}

void SqliteEngine::unclaimSheet(const QString& fileName) {
    locks_.release(filePath(fileName + QStringLiteral(".lock")));
}

QStringList SqliteEngine::sheetFiles() {
    return QDir(folder_).entryList({QStringLiteral("*.db")}, QDir::Files, QDir::Name);
}

bool SqliteEngine::sheetExists(const QString& fileName) {
    return judged(fileName, QStringLiteral("The time sheet"), true).isOpen();
}

void SqliteEngine::createSheet(const QString& fileName, const TableDef& def, int unitDepth) {
    const QString file = filePath(fileName);
    if (unitDepth > 0)
        throw DatabaseError(
            QStringLiteral("Cannot create %1 while a transaction is running").arg(file),
            DatabaseError::Kind::Engine);
    const FileIdentity identity =
        createdFile(*held_, fileName, QStringLiteral("%1 already exists").arg(file));
    const QString alias = QStringLiteral("newfile%1").arg(++aliasCounter_);
    bool attached = false;
    bool inUnit = false;
    try {
        attach(fileName, identity, alias, "rw");
        attached = true;
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
        if (attached)
            QSqlQuery(database()).exec(QStringLiteral("DETACH DATABASE %1").arg(alias));
        held_->removeIf(fileName, identity);
        throw;
    }
    QSqlQuery detach(database());
    if (!detach.exec(QStringLiteral("DETACH DATABASE %1").arg(alias)))
        fail(detach.lastError(), QStringLiteral("Cannot close %1").arg(file));
}

} // namespace vok

#include "sqlitestatement.h"

#include "databaseerror.h"
#include "engine.h"
#include "storedbytes.h"

#include <sqlite3.h>

namespace vok {

SqliteStatement::SqliteStatement(sqlite3* db, const QString& sql, std::shared_ptr<bool> alive,
                                 std::shared_ptr<quint64> runs)
    : db_(db), alive_(std::move(alive)), runs_(std::move(runs)) {
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db_, text.constData(), static_cast<int>(text.size()), &stmt_, nullptr) !=
        SQLITE_OK)
        fail();
}

SqliteStatement::~SqliteStatement() {
    if (stmt_ && *alive_)
        sqlite3_finalize(stmt_);
}

StatementEffect SqliteStatement::effect() const {
    return sqlite3_stmt_readonly(stmt_) ? StatementEffect::Reads : StatementEffect::Writes;
}

void SqliteStatement::fail() const {
    const int code = sqlite3_extended_errcode(db_) & 0xff;
    throw Engine::error(QString::fromUtf8(sqlite3_errmsg(db_)),
                        code == SQLITE_BUSY || code == SQLITE_LOCKED, QString());
}

void SqliteStatement::bind(int index, const QVariant& value) {
    const int i = index + 1;
    int rc = SQLITE_OK;
    if (!value.isValid() || value.isNull()) {
        rc = sqlite3_bind_null(stmt_, i);
    } else {
        switch (value.typeId()) {
        case QMetaType::LongLong:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            rc = sqlite3_bind_int64(stmt_, i, value.toLongLong());
            break;
        case QMetaType::Bool:
            rc = sqlite3_bind_int64(stmt_, i, value.toBool() ? 1 : 0);
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(stmt_, i, value.toDouble());
            break;
        default: {
            if (value.typeId() == qMetaTypeId<StoredBytes>()) {
                // Back as it was stored, byte for byte.
                const StoredBytes stored = value.value<StoredBytes>();
                const int size = static_cast<int>(stored.bytes.size());
                rc = stored.blob ? sqlite3_bind_blob(stmt_, i, stored.bytes.constData(), size,
                                                     SQLITE_TRANSIENT)
                                 : sqlite3_bind_text(stmt_, i, stored.bytes.constData(), size,
                                                     SQLITE_TRANSIENT);
                break;
            }
            const QByteArray text = value.toString().toUtf8();
            rc = sqlite3_bind_text(stmt_, i, text.constData(), static_cast<int>(text.size()),
                                   SQLITE_TRANSIENT);
            break;
        }
        }
    }
    if (rc != SQLITE_OK)
        fail();
}

bool SqliteStatement::step() {
    if (!started_) {
        started_ = true;
        ++*runs_;
    }
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(stmt_);
    started_ = false;
    fail();
}

void SqliteStatement::reset() {
    started_ = false;
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int SqliteStatement::run() {
    step();
    started_ = false;
    sqlite3_reset(stmt_);
    return sqlite3_changes(db_);
}

int SqliteStatement::columnCount() const {
    return sqlite3_column_count(stmt_);
}

bool SqliteStatement::isNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

QVariant SqliteStatement::value(int column) const {
    switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(stmt_, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt_, column);
    case SQLITE_NULL:
        return {};
    case SQLITE_BLOB: {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
        return StoredBytes::of(bytes, sqlite3_column_bytes(stmt_, column), true);
    }
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
        return StoredBytes::of(text, sqlite3_column_bytes(stmt_, column), false);
    }
    }
}

qlonglong SqliteStatement::int64(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

qlonglong SqliteStatement::lastInsertId() const {
    return sqlite3_last_insert_rowid(db_);
}

} // namespace vok

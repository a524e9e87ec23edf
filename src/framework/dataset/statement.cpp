#include "statement.h"

#include "databaseerror.h"
#include "store.h"

#include <sqlite3.h>

namespace vok {

Statement::Statement(Store& store, const QString& sql, const TableRef& writes)
    : Statement(store, sql) {
    hasTable_ = true;
    ref_ = writes;
}

Statement::Statement(Store& store, const QString& sql)
    : store_(&store), db_(store.handle()), sql_(sql) {
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db_, text.constData(), static_cast<int>(text.size()), &stmt_, nullptr) !=
        SQLITE_OK)
        fail(QString());
}

Statement::~Statement() {
    if (stmt_)
        sqlite3_finalize(stmt_);
}

void Statement::fail(const QString& context) const {
    const int code = sqlite3_extended_errcode(db_) & 0xff;
    throw Store::engineError(QString::fromUtf8(sqlite3_errmsg(db_)),
                             code == SQLITE_BUSY || code == SQLITE_LOCKED, context);
}

void Statement::bind(int index, const QVariant& value) {
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
            const QByteArray text = value.toString().toUtf8();
            rc = sqlite3_bind_text(stmt_, i, text.constData(), static_cast<int>(text.size()),
                                   SQLITE_TRANSIENT);
            break;
        }
        }
    }
    if (rc != SQLITE_OK)
        fail(QString());
}

void Statement::noteWrite() {
    if (sqlite3_stmt_readonly(stmt_))
        return;
    if (hasTable_)
        store_->noteWrite(ref_);
    else
        store_->noteOtherWrite();
}

bool Statement::step() {
    noteWrite();
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(stmt_);
    fail(QString());
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

void Statement::run() {
    step();
    sqlite3_reset(stmt_);
}

int Statement::columnCount() const {
    return sqlite3_column_count(stmt_);
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

QVariant Statement::value(int column) const {
    switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(stmt_, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt_, column);
    case SQLITE_NULL:
        return {};
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
        return QString::fromUtf8(text, sqlite3_column_bytes(stmt_, column));
    }
    }
}

qlonglong Statement::int64(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

qlonglong Statement::lastInsertId() const {
    return sqlite3_last_insert_rowid(db_);
}

} // namespace vok

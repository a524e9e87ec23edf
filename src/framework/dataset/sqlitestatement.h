#pragma once

#include "statement.h"

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace vok {

// A statement prepared on SQLite's own handle.
class SqliteStatement : public Statement {
public:
    SqliteStatement(sqlite3* db, const QString& sql, std::shared_ptr<bool> alive,
                    std::shared_ptr<quint64> runs);
    ~SqliteStatement() override;

    void bind(int index, const QVariant& value) override;
    bool step() override;
    void reset() override;
    int run() override;

    int columnCount() const override;
    bool isNull(int column) const override;
    QVariant value(int column) const override;
    qlonglong int64(int column) const override;
    qlonglong lastInsertId() const override;
    StatementEffect effect() const override;

private:
    [[noreturn]] void fail() const;

    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
    std::shared_ptr<bool> alive_;
    std::shared_ptr<quint64> runs_;
    bool started_ = false;
};

} // namespace vok

#pragma once

#include "statement.h"

#include <QByteArray>
#include <QVector>
#include <functional>
#include <memory>

struct pg_conn;
struct pg_result;

namespace vok {

class PostgresEngine;

// A statement prepared on the server's connection through libpq: one round trip per execution,
// parameters sent apart from the SQL text, the whole result read at once and handed out row by
// row in the record-sets' stored form (flags as 0/1, date-times with a "T").
class PostgresStatement : public Statement {
public:
    PostgresStatement(PostgresEngine& engine, pg_conn* conn, const QString& sql,
                      std::shared_ptr<bool> alive, std::shared_ptr<quint64> runs);
    ~PostgresStatement() override;

    // "?" marks become $1, $2, ... outside quoted text and names.
    static QByteArray numberedParameters(const QString& sql, int& count);
    // A value as the server reads it in text form.
    static QByteArray text(const QVariant& value);
    // A result's field in stored form, from its text and type.
    static QVariant stored(const char* text, int length, unsigned int type);
    [[noreturn]] static void fail(pg_result* result, pg_conn* conn);
    // What a statement did, from the command tag the server answered it with ("UPDATE 3").
    static StatementEffect effectOfTag(const char* tag);

    void bind(int index, const QVariant& value) override;
    bool step() override;
    void reset() override;
    int run() override;
    bool runLater(int rows) override;

    int columnCount() const override;
    bool isNull(int column) const override;
    QVariant value(int column) const override;
    qlonglong int64(int column) const override;
    qlonglong lastInsertId() const override { return lastInsertId_; }
    StatementEffect effect() const override { return effect_; }

private:
    void execute();
    void clear();

    PostgresEngine& engine_;
    pg_conn* conn_;
    std::shared_ptr<bool> alive_;
    std::shared_ptr<quint64> runs_;
    QByteArray name_;
    int paramCount_ = 0;
    StatementEffect effect_ = StatementEffect::Reads;
    QVector<QByteArray> values_;
    QVector<bool> nulls_;
    pg_result* result_ = nullptr;
    int row_ = -1;
    int rows_ = 0;
    qlonglong lastInsertId_ = 0;
    mutable int describedColumns_ = -1;
};

} // namespace vok

#pragma once

#include "statement.h"
#include "tableref.h"

#include <memory>

namespace vok {

class Store;

// A statement of the store's engine that tells the store when it wrote (as the engine reports
// it): to the table it names, which keeps the record-sets' range caches of other tables valid, or
// to anything else, which invalidates them all. Before it runs, the rows held back for its table
// (for any table, when it names none) are written.
class StoreStatement : public Statement {
public:
    StoreStatement(Store& store, std::unique_ptr<Statement> inner);
    // `callerSends`: the caller writes the held rows this reads before each run.
    StoreStatement(Store& store, std::unique_ptr<Statement> inner, const TableRef& table,
                   bool callerSends = false);

    void bind(int index, const QVariant& value) override { inner_->bind(index, value); }
    bool step() override;
    void reset() override { inner_->reset(); }
    int run() override;
    bool runLater(int rows) override;

    int columnCount() const override { return inner_->columnCount(); }
    bool isNull(int column) const override { return inner_->isNull(column); }
    QVariant value(int column) const override { return inner_->value(column); }
    qlonglong int64(int column) const override { return inner_->int64(column); }
    qlonglong lastInsertId() const override { return inner_->lastInsertId(); }
    StatementEffect effect() const override { return inner_->effect(); }

private:
    void sendHeld();
    void noteEffect();

    Store& store_;
    std::unique_ptr<Statement> inner_;
    TableRef ref_;
    bool hasTable_ = false;
    bool callerSends_ = false;
};

} // namespace vok

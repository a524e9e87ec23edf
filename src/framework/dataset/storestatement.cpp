#include "storestatement.h"

#include "store.h"

#include <QRegularExpression>

namespace vok {

StoreStatement::StoreStatement(Store& store, std::unique_ptr<Statement> inner, const QString& sql)
    : store_(store), inner_(std::move(inner)), writes_(writes(sql)) {}

StoreStatement::StoreStatement(Store& store, std::unique_ptr<Statement> inner, const QString& sql,
                               const TableRef& writes)
    : StoreStatement(store, std::move(inner), sql) {
    ref_ = writes;
    hasTable_ = true;
}

bool StoreStatement::writes(const QString& sql) {
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(INSERT|UPDATE|DELETE|REPLACE|CREATE|DROP|ALTER|TRUNCATE)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern.match(sql).hasMatch();
}

void StoreStatement::noteWrite() {
    if (!writes_)
        return;
    if (hasTable_)
        store_.noteWrite(ref_);
    else
        store_.noteOtherWrite();
}

bool StoreStatement::step() {
    noteWrite();
    return inner_->step();
}

bool StoreStatement::runLater() {
    if (!inner_->runLater())
        return false;
    noteWrite();
    return true;
}

int StoreStatement::run() {
    noteWrite();
    return inner_->run();
}

} // namespace vok

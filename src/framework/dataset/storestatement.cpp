#include "storestatement.h"

#include "store.h"

#include <QRegularExpression>

namespace vok {

StoreStatement::StoreStatement(Store& store, std::unique_ptr<Statement> inner, const QString& sql)
    : store_(store), inner_(std::move(inner)), writes_(writes(sql)) {}

StoreStatement::StoreStatement(Store& store, std::unique_ptr<Statement> inner, const QString& sql,
                               const TableRef& table, bool callerSends)
    : StoreStatement(store, std::move(inner), sql) {
    ref_ = table;
    callerSends_ = callerSends;
    hasTable_ = true;
}

bool StoreStatement::writes(const QString& sql) {
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(INSERT|UPDATE|DELETE|REPLACE|CREATE|DROP|ALTER|TRUNCATE)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern.match(sql).hasMatch();
}

void StoreStatement::sendHeld() {
    // What the record-sets hold back is written before this reads or writes it.
    if (callerSends_)
        return;
    if (hasTable_)
        store_.sendHeld(ref_);
    else
        store_.sendHeld();
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
    sendHeld();
    noteWrite();
    return inner_->step();
}

bool StoreStatement::runLater(int rows) {
    sendHeld();
    if (!inner_->runLater(rows))
        return false;
    noteWrite();
    return true;
}

int StoreStatement::run() {
    sendHeld();
    noteWrite();
    return inner_->run();
}

} // namespace vok

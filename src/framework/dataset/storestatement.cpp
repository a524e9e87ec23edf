#include "storestatement.h"

#include "store.h"

namespace vok {

StoreStatement::StoreStatement(Store& store, std::unique_ptr<Statement> inner)
    : store_(store), inner_(std::move(inner)) {}

StoreStatement::StoreStatement(Store& store, std::unique_ptr<Statement> inner,
                               const TableRef& table, bool callerSends)
    : StoreStatement(store, std::move(inner)) {
    ref_ = table;
    callerSends_ = callerSends;
    hasTable_ = true;
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

void StoreStatement::noteEffect() {
    // Asked after the run: a server tells what a statement did only in its answer.
    const StatementEffect effect = inner_->effect();
    if (effect == StatementEffect::Reads)
        return;
    if (hasTable_)
        store_.noteWrite(ref_);
    else
        store_.noteOtherWrite();
}

bool StoreStatement::step() {
    sendHeld();
    const bool row = inner_->step();
    noteEffect();
    return row;
}

bool StoreStatement::runLater(int rows) {
    sendHeld();
    if (!inner_->runLater(rows))
        return false;
    // Only writes of rows are sent ahead; their numbers were reserved by the writer.
    if (hasTable_)
        store_.noteWrite(ref_);
    else
        store_.noteOtherWrite();
    return true;
}

int StoreStatement::run() {
    sendHeld();
    const int changed = inner_->run();
    noteEffect();
    return changed;
}

} // namespace vok

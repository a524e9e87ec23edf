#include "transaction.h"

#include "store.h"

namespace vok {

Transaction::Transaction(Store& store) : store_(store) {
    store_.begin();
}

Transaction::~Transaction() {
    if (done_)
        return;
    try {
        store_.rollback();
    } catch (...) {
        // Nothing more can be done from a destructor; the engine drops the work on close.
    }
}

void Transaction::commit() {
    if (done_)
        return;
    store_.commit();
    done_ = true;
}

void Transaction::rollback() {
    if (done_)
        return;
    done_ = true;
    store_.rollback();
}

} // namespace vok

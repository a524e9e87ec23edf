#include "sheetclaim.h"

#include "store.h"

namespace vok {

SheetClaim::SheetClaim(Store* store, QString fileName, quint64 connection)
    : store_(store), fileName_(std::move(fileName)), connection_(connection) {}

SheetClaim::~SheetClaim() {
    if (store_)
        store_->unclaimSheet(fileName_, connection_);
}

} // namespace vok

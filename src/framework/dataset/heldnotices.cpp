#include "heldnotices.h"

#include "table.h"

namespace vok {

HeldNotices::HeldNotices(QList<Table*> tables) : tables_(std::move(tables)) {
    for (Table* t : std::as_const(tables_))
        t->disableControls();
}

HeldNotices::~HeldNotices() {
    for (Table* t : std::as_const(tables_))
        t->enableControls();
}

} // namespace vok

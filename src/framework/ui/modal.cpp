#include "modal.h"

#include <QDialog>

namespace vok {

namespace {
Modal::Handler& handler() {
    static Modal::Handler h;
    return h;
}
} // namespace

int Modal::exec(QDialog* dialog) {
    if (handler())
        return handler()(dialog);
    return dialog->exec();
}

void Modal::setHandler(Handler h) {
    handler() = std::move(h);
}

} // namespace vok

#include "filedialogs.h"

#include <QFileDialog>

namespace vok {

namespace {
FileDialogs::Handler& handler() {
    static FileDialogs::Handler h;
    return h;
}
} // namespace

FileDialogs::Answer FileDialogs::ask(QWidget* parent, const Request& request) {
    if (handler())
        return handler()(request);
    QString chosen = request.filters.value(0);
    const QString filters = request.filters.join(QStringLiteral(";;"));
    const QString path =
        request.mode == Mode::Save
            ? QFileDialog::getSaveFileName(parent, request.title, request.folder, filters, &chosen)
            : QFileDialog::getOpenFileName(parent, request.title, request.folder, filters, &chosen);
    return {path, std::max(0, static_cast<int>(request.filters.indexOf(chosen)))};
}

void FileDialogs::setHandler(Handler h) {
    handler() = std::move(h);
}

} // namespace vok

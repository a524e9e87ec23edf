#include "shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace vok {

namespace {
Shell::Handler& handler() {
    static Shell::Handler h;
    return h;
}
} // namespace

bool Shell::open(const QString& target) {
    if (handler())
        return handler()(target);
    QUrl url(target);
    if (url.scheme().isEmpty() || url.scheme().size() == 1 || QFileInfo::exists(target))
        url = QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
    return QDesktopServices::openUrl(url);
}

void Shell::setHandler(Handler h) {
    handler() = std::move(h);
}

} // namespace vok

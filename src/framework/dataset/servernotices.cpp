#include "servernotices.h"

#include "framework/io/showntext.h"

#include <QDebug>
#include <mutex>

namespace vok {

namespace {

std::mutex sinkLock;
ServerNotices::Sink& sink() {
    static ServerNotices::Sink s;
    return s;
}

} // namespace

void ServerNotices::routeTo(Sink s) {
    const std::lock_guard lock(sinkLock);
    sink() = std::move(s);
}

void ServerNotices::heard(const QString& text) {
    const QString line = ShownText::escaped(text.trimmed());
    if (line.isEmpty())
        return;
    Sink s;
    {
        const std::lock_guard lock(sinkLock);
        s = sink();
    }
    if (s)
        s(line);
    else
        qWarning().noquote() << QStringLiteral("The data server says: ") + line;
}

void ServerNotices::fromLibpq(void* /*arg*/, const char* message) {
    heard(QString::fromUtf8(message));
}

} // namespace vok

#include "messages.h"

#include <QApplication>

namespace vok {

namespace {
Messages::Handler& handler() {
    static Messages::Handler h;
    return h;
}

QMessageBox::Icon qtIcon(Messages::Icon icon) {
    switch (icon) {
    case Messages::Icon::Information:
        return QMessageBox::Information;
    case Messages::Icon::Warning:
        return QMessageBox::Warning;
    case Messages::Icon::Error:
    case Messages::Icon::Stop:
        return QMessageBox::Critical;
    case Messages::Icon::Question:
        return QMessageBox::Question;
    case Messages::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

QString Messages::applicationTitle() {
    return QStringLiteral("Vok");
}

QMessageBox::StandardButton Messages::show(const Request& request) {
    if (handler())
        return handler()(request);
    QMessageBox box(qtIcon(request.icon), request.title, request.text, request.buttons,
                    QApplication::activeWindow());
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void Messages::inform(const QString& text) {
    show(Request{Icon::None, applicationTitle(), text, QMessageBox::Ok});
}

bool Messages::confirm(const QString& text) {
    return show(Request{Icon::Question, applicationTitle(), text,
                        QMessageBox::Yes | QMessageBox::No}) == QMessageBox::Yes;
}

void Messages::setHandler(Handler h) {
    handler() = std::move(h);
}

} // namespace vok

#include "errorbox.h"

#include "messages.h"

namespace vok {

QString ErrorBox::withFullStop(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void ErrorBox::show(const QString& message) {
    Messages::show(Messages::Request{Messages::Icon::Error, Messages::applicationTitle(),
                                     withFullStop(message), QMessageBox::Ok});
}

} // namespace vok

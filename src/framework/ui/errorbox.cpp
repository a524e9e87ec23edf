#include "errorbox.h"

#include "framework/dataset/databaseerror.h"
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

void ErrorBox::show(const DatabaseError& error) {
    if (!error.remedy()) {
        show(error.message());
        return;
    }
    // The record now shows what the other user stored; what this user typed is kept, and
    // putting it back leaves them in edit mode to look it over before it replaces that.
    const QString text =
        withFullStop(error.message()) +
        QStringLiteral("\n\nThe record now shows what is stored. Put back what you typed, to "
                       "store it over the other change?");
    if (Messages::show(Messages::Request{Messages::Icon::Warning, Messages::applicationTitle(),
                                         text, QMessageBox::Yes | QMessageBox::No}) ==
        QMessageBox::Yes)
        error.remedy()();
}

} // namespace vok

#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

namespace vok {

// Every message box of the system goes through here, so tests can read and answer them.
class Messages {
public:
    enum class Icon { None, Information, Warning, Error, Question, Stop };

    struct Request {
        Icon icon = Icon::None;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    };
    // Returns the button pressed.
    using Handler = std::function<QMessageBox::StandardButton(const Request&)>;

    static QMessageBox::StandardButton show(const Request& request);
    // A notice with an OK button, titled "Vok".
    static void inform(const QString& text);
    // A Yes/No confirmation; true only for Yes.
    static bool confirm(const QString& text);

    // Replaces the boxes (tests); an empty handler restores them.
    static void setHandler(Handler handler);

    static QString applicationTitle();
};

} // namespace vok

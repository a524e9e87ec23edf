#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace vok {

// Every file dialog of the system goes through here, so tests can answer them.
class FileDialogs {
public:
    enum class Mode { Open, Save };

    struct Request {
        Mode mode = Mode::Open;
        QString title;
        QString folder;
        // Name filters in the dialog's form, "MS Project XML (*.xml)"; the first is chosen first.
        QStringList filters;
    };
    struct Answer {
        QString path;   // empty: the user cancelled
        int filter = 0; // the filter chosen, by position
    };
    using Handler = std::function<Answer(const Request&)>;

    static Answer ask(QWidget* parent, const Request& request);
    // Replaces the dialogs (tests); an empty handler restores them.
    static void setHandler(Handler handler);
};

} // namespace vok

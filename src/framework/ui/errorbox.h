#pragma once

#include <QString>

namespace vok {

// The standard error box: error icon, the application title, the error's text with a full stop
// added when its last character sorts after the full stop.
class DatabaseError;

class ErrorBox {
public:
    static void show(const QString& message);
    // An error with a remedy asks whether to apply it.
    static void show(const DatabaseError& error);
    static QString withFullStop(const QString& message);
};

} // namespace vok

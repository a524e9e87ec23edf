#pragma once

#include <QString>

namespace vok {

// The standard error box: error icon, the application title, the error's text with a full stop
// added when its last character sorts after the full stop.
class ErrorBox {
public:
    static void show(const QString& message);
    static QString withFullStop(const QString& message);
};

} // namespace vok

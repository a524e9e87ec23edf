#pragma once

#include <QString>

namespace vok {

// How a storage location (a data folder, or a server URI that may carry a password) appears in
// messages, window titles and logs: the password of a URI's user and any password=
// parameter never do, even when the rest of the text cannot be read as a location.
class ShownLocation {
public:
    static QString of(const QString& location);
};

} // namespace vok

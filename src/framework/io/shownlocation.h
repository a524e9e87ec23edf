#pragma once

#include <QString>

namespace vok {

// How a storage location (a data folder, or a server URI that may carry a password) appears in
// messages, window titles and logs: the password of a URI's user and any password=
// parameter never do, even when the rest of the text cannot be read as a location.
class ShownLocation {
public:
    static QString of(const QString& location);
    // A message about the location from another library (libpq's parse and connection errors),
    // which may quote the location's password, whole or in part: the password goes, and so does
    // every quoted piece of the message that the location as shown does not hold.
    static QString masked(const QString& message, const QString& location);
};

} // namespace vok

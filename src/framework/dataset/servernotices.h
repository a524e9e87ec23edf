#pragma once

#include <QString>
#include <functional>

namespace vok {

// What a server says beside its answers: a trigger's RAISE NOTICE or WARNING, libpq's own words
// when the connection breaks. Each notice reaches one place as one line, its control characters
// and line breaks shown as escapes, never raw on a terminal: where the program routes them
// (vokctl: its standard error), else the log.
class ServerNotices {
public:
    using Sink = std::function<void(const QString& line)>;
    // An empty sink routes notices to the log again.
    static void routeTo(Sink sink);
    static void heard(const QString& text);
    // libpq's notice processor.
    static void fromLibpq(void* arg, const char* message);
};

} // namespace vok

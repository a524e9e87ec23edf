#pragma once

#include <QString>
#include <functional>

namespace vok {

// The desktop's "open" action for mail texts, documents and the help page.
class Shell {
public:
    using Handler = std::function<bool(const QString& target)>;
    static bool open(const QString& target);
    static void setHandler(Handler handler);
};

} // namespace vok

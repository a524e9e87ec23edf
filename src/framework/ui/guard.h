#pragma once

#include <functional>

namespace vok {

// Runs an entry point from the event loop: an error escaping it is shown in the standard error
// box and the application goes on. Returns false when an error was shown.
class Guard {
public:
    static bool run(const std::function<void()>& action);
};

} // namespace vok

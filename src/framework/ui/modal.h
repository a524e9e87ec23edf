#pragma once

#include <functional>

class QDialog;

namespace vok {

// Shows a window modally; tests replace it to drive the window and answer it.
class Modal {
public:
    using Handler = std::function<int(QDialog* dialog)>;
    static int exec(QDialog* dialog);
    static void setHandler(Handler handler);
};

} // namespace vok

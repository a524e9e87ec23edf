#include "guard.h"

#include "errorbox.h"
#include "framework/dataset/databaseerror.h"

#include <QString>
#include <exception>

namespace vok {

bool Guard::run(const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const DatabaseError& e) {
        ErrorBox::show(e.message());
    } catch (const std::exception& e) {
        ErrorBox::show(QString::fromUtf8(e.what()));
    }
    return false;
}

} // namespace vok

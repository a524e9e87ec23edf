#include "fileerror.h"

namespace vok {

FileError::FileError(const QString& message) : std::runtime_error(message.toStdString()) {}

} // namespace vok

#pragma once

#include <QString>
#include <stdexcept>

namespace vok {

// A file Vok wanted to write, or a name it wanted to use as a path, that it could not. The
// framework's guard and vokctl show it like any other error; what was on disk stays as it was.
class FileError : public std::runtime_error {
public:
    explicit FileError(const QString& message);
    QString message() const { return QString::fromUtf8(what()); }
};

} // namespace vok

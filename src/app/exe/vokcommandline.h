#pragma once

#include <QStringList>
#include <optional>

// vok's own command line: --help and --version, answered before anything needs a display, and
// a clear refusal (exit status 2) of any other argument once Qt has taken its own (-platform,
// -style and the like).
class VokCommandLine {
public:
    // The exit status when the command line was answered (--help, --version), nothing when Vok
    // is to start.
    static std::optional<int> answer(int argc, char** argv);
    // The exit status when what is left after Qt's own arguments is not for Vok.
    static std::optional<int> refuse(const QStringList& arguments);
};

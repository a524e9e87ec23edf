#pragma once

#include <QStringList>

// vokctl report KIND --data DIR --project NAME [options] --pdf FILE [--layout-json FILE]:
// runs a report on a data folder into a PDF, and optionally its laid-out pages as JSON.
class ReportCommand {
public:
    // Returns the exit status; messages go to standard output and errors to standard error.
    static int run(const QStringList& args);
};

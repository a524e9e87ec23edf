#pragma once

#include <QString>

namespace vok {

// Where a report, layout, CSV or document is to be written, judged against the data folder: a
// file the folder holds (the database, a member's sheet, anything else in it, or another name
// of one of them) is never replaced by an output, nor is a name the folder's own files take.
class OutputTarget {
public:
    // Why the path cannot take an output; empty when it can. A server location has no folder.
    static QString refusal(const QString& path, const QString& dataFolder);
};

} // namespace vok

#pragma once

#include <QString>

namespace vok {

class HeldFile;
class HeldFolder;

// Where a report, layout, CSV or document is to be written, judged against the data folder: a
// file the folder holds (the database, a member's sheet, anything else in it, or another name
// of one of them) is never replaced by an output, nor is a name the folder's own files take. No
// output is written through a link, unless the link leads to a pipe or a terminal (/dev/stdout).
class OutputTarget {
public:
    // Why the path cannot take an output; empty when it can. A server location has no folder.
    // An early answer, before an output is made: the writer judges again what it opens.
    static QString refusal(const QString& path, const QString& dataFolder);

    // Why an output cannot go to `name` of `folder`, judged on what the name is now (`there`,
    // looked at without following a link) and, for a link, on what it leads to (`leadsTo`),
    // against `dataFolder` and every folder under a Protection.
    static QString refusal(const QString& shownPath, const HeldFolder& folder, const QString& name,
                           const HeldFile& there, const HeldFile& leadsTo,
                           const HeldFolder* dataFolder = nullptr);
    // Why an open descriptor of this process (/dev/stdout redirected to a file) cannot take one.
    static QString refusal(const QString& shownPath, const HeldFile& opened);

    // While it lives, no output of this process replaces a file of the folder, whatever path
    // it is given by: an open data folder puts itself under one.
    class Protection {
    public:
        explicit Protection(const HeldFolder& folder);
        ~Protection();
        Protection(const Protection&) = delete;
        Protection& operator=(const Protection&) = delete;

    private:
        const HeldFolder* folder_;
    };
};

} // namespace vok

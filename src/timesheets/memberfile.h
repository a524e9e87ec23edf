#pragma once

#include <QString>

namespace vok {
class Table;
}

// A member's personal time-sheet file in the data folder: "<trimmed member name>.db".
class MemberFile {
public:
    // The member name without leading and trailing blanks and control characters.
    static QString trimmedName(const QString& memberName);
    // The file name of a member's time sheet, e.g. "Site Crew.db".
    static QString fileName(const QString& memberName);
    // Why a member name cannot safely name a file of the data folder; empty when it can.
    static QString refusal(const QString& memberName);
    // Opens a member's file in the record-set that reads member files. A file that cannot be
    // opened (no database, another program's table) is refused in words that name it.
    static void open(vok::Table& lines, const QString& memberName);
    // The folder path with exactly one trailing separator; an empty path (the engine's default
    // folder) stays empty.
    static QString withTrailingSeparator(const QString& folder);
};

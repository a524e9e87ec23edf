#pragma once

#include <QString>
#include <QStringList>

// Moves a team's data: every shared table (the pending cost entries with them) and every member's
// time sheet of one data folder or server database into another that holds no Vok data yet, with
// their record numbers. On a server the whole copy is one transaction; into a folder, a failure
// removes what was created. Either way the target ends up complete or as it was.
class DataFolderCopy {
public:
    struct Report {
        int tables = 0;
        qint64 rows = 0;
        QStringList sheets; // file names of the members' sheets copied
        qint64 sheetLines = 0;
    };

    static Report run(const QString& from, const QString& to);
};

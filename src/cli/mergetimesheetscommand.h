#pragma once

#include <QStringList>

class QTextStream;

// vokctl merge-timesheets --data DIR (--member NAME ... | --all)
class MergeTimeSheetsCommand {
public:
    static int run(const QStringList& args, QTextStream& out, QTextStream& err);
};

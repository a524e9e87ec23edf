#pragma once

#include <QStringList>

class QTextStream;

// vokctl merge-costs --data DIR
class MergeCostsCommand {
public:
    static int run(const QStringList& args, QTextStream& out, QTextStream& err);
};

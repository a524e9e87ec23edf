#pragma once

#include <QString>
#include <QStringList>

class QTextStream;
class TDataModule2;
struct MergeReport;

// What the two merge commands share: the data folder option, the data module on it, and the
// printed summary.
class MergeCommand {
public:
    // Takes "--data DIR" out of the arguments; empty when it is missing.
    static QString takeDataFolder(QStringList& args);
    // Connects the data module to the folder and opens the record-sets the merges search.
    static void connect(TDataModule2& dm, const QString& folder);
    // The lines merged and the names not found.
    static void printSummary(QTextStream& out, const MergeReport& report, const QString& what);
};

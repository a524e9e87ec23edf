#pragma once

#include <QString>

namespace vok {
class EngineConfig;
}

// Writes the storage engine's persistent configuration at every start, so that databases the
// engine creates get the page size, locking mode and text collation of a Vok data folder.
class StorageConfiguration {
public:
    // Sets one entry: "node path;entry name" and the value. Throws vok::DatabaseError.
    static void SetBdeConfig(const QString& pathAndEntry, const QString& value);
    // The five entries, in order, written at once. Returns a notice for the user when the file
    // had to be mended or could not be written; neither keeps Vok from starting.
    static QString writeEntries();

private:
    static void set(vok::EngineConfig& config, const QString& pathAndEntry, const QString& value);
};

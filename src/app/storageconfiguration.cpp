#include "storageconfiguration.h"

#include "framework/dataset/databaseerror.h"
#include "framework/dataset/engineconfig.h"

void StorageConfiguration::SetBdeConfig(const QString& pathAndEntry, const QString& value) {
    vok::EngineConfig config;
    config.initialise();
    const int semi = pathAndEntry.indexOf(QLatin1Char(';'));
    if (semi < 0)
        throw vok::DatabaseError(QStringLiteral("Invalid parameter passed to function.  There must "
                                                "be a semi-colon delimited sting passed"));
    const QString node = pathAndEntry.left(semi);
    const QString entry = pathAndEntry.mid(semi + 1);
    // Entry names match exactly, letter case included.
    for (const vok::EngineConfig::Entry& e : config.entries(node)) {
        if (e.name == entry) {
            config.writeEntry(node, e.name, value);
            return;
        }
    }
    throw vok::DatabaseError(pathAndEntry +
                             QStringLiteral(" entry was not found in configuration file"));
}

void StorageConfiguration::writeEntries() {
    SetBdeConfig(QStringLiteral("\\DRIVERS\\PARADOX\\TABLE CREATE\\;LEVEL"), QStringLiteral("7"));
    SetBdeConfig(QStringLiteral("\\DRIVERS\\PARADOX\\TABLE CREATE\\;BLOCK SIZE"),
                 QStringLiteral("16384"));
    SetBdeConfig(QStringLiteral("\\SYSTEM\\INIT\\;LOCAL SHARE"), QStringLiteral("True"));
    SetBdeConfig(QStringLiteral("\\DRIVERS\\PARADOX\\INIT\\;LANGDRIVER"),
                 QStringLiteral("DBWINUS0"));
    SetBdeConfig(QStringLiteral("\\SYSTEM\\INIT\\;LANGDRIVER"), QStringLiteral("DBWINUS0"));
}

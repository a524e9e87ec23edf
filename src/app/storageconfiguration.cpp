#include "storageconfiguration.h"

#include "framework/dataset/databaseerror.h"
#include "framework/dataset/engineconfig.h"
#include "framework/io/fileerror.h"

void StorageConfiguration::set(vok::EngineConfig& config, const QString& pathAndEntry,
                               const QString& value) {
    const int semi = pathAndEntry.indexOf(QLatin1Char(';'));
    if (semi < 0)
        throw vok::DatabaseError(QStringLiteral("Invalid parameter passed to function.  There must "
                                                "be a semi-colon delimited sting passed"));
    // Entry names match exactly, letter case included.
    if (!config.setEntry(pathAndEntry.left(semi), pathAndEntry.mid(semi + 1), value))
        throw vok::DatabaseError(pathAndEntry +
                                 QStringLiteral(" entry was not found in configuration file"));
}

void StorageConfiguration::SetBdeConfig(const QString& pathAndEntry, const QString& value) {
    vok::EngineConfig config;
    config.initialise();
    set(config, pathAndEntry, value);
    config.save();
}

QString StorageConfiguration::writeEntries() {
    vok::EngineConfig config;
    config.initialise();
    set(config, QStringLiteral("\\DRIVERS\\PARADOX\\TABLE CREATE\\;LEVEL"), QStringLiteral("7"));
    set(config, QStringLiteral("\\DRIVERS\\PARADOX\\TABLE CREATE\\;BLOCK SIZE"),
        QStringLiteral("16384"));
    set(config, QStringLiteral("\\SYSTEM\\INIT\\;LOCAL SHARE"), QStringLiteral("True"));
    set(config, QStringLiteral("\\DRIVERS\\PARADOX\\INIT\\;LANGDRIVER"),
        QStringLiteral("DBWINUS0"));
    set(config, QStringLiteral("\\SYSTEM\\INIT\\;LANGDRIVER"), QStringLiteral("DBWINUS0"));
    QString notice = config.notice();
    try {
        config.save();
    } catch (const vok::FileError& e) {
        // The stores of this process read the file again; what it held before still stands.
        notice = QStringLiteral("%1 %2. Vok goes on with the engine settings it has.")
                     .arg(notice, e.message())
                     .trimmed();
    }
    return notice;
}

#include "settings.h"

#include <QSettings>
#include <QStringList>

Settings Settings::read() {
    Settings s;
    QSettings store(QSettings::NativeFormat, QSettings::SystemScope, QStringLiteral("Vok"));
    store.beginGroup(QStringLiteral("Vok"));
    s.data = store.value(QStringLiteral("Data"), QString()).toString();
    s.language = store.value(QStringLiteral("Language"), QStringLiteral("0")).toString();
    const QString live = store.value(QStringLiteral("LiveUpdates")).toString().trimmed().toLower();
    s.liveUpdates = !QStringList{QStringLiteral("false"), QStringLiteral("0"), QStringLiteral("no"),
                                 QStringLiteral("off")}
                         .contains(live);
    store.endGroup();
    return s;
}

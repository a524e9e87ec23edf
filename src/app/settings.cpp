#include "settings.h"

#include <QSettings>

Settings Settings::read() {
    Settings s;
    QSettings store(QSettings::NativeFormat, QSettings::SystemScope, QStringLiteral("Vok"));
    store.beginGroup(QStringLiteral("Vok"));
    s.data = store.value(QStringLiteral("Data"), QString()).toString();
    s.language = store.value(QStringLiteral("Language"), QStringLiteral("0")).toString();
    store.endGroup();
    return s;
}

#pragma once

#include <QString>

// The two per-machine settings, read from the system-wide Vok.conf (section [Vok]); never
// written by Vok.
class Settings {
public:
    QString data;           // the data folder; empty: the storage engine's default folder
    QString language = "0"; // the interface language index, as text

    static Settings read();
};

#pragma once

#include <QString>

// The per-machine settings, read from the system-wide Vok.conf (section [Vok]); never written by
// Vok.
class Settings {
public:
    QString data;           // the data folder; empty: the storage engine's default folder
    QString language = "0"; // the interface language index, as text
    // Whether the main window shows other installations' changes by itself; "false", "0", "no"
    // or "off" in LiveUpdates switch that off.
    bool liveUpdates = true;

    static Settings read();
};

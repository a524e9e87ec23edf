#pragma once

#include <QString>

// What Vok keeps of one user's way of working between runs (the width given to the tree), in the
// user's own configuration folder: $XDG_CONFIG_HOME/Vok/state.conf, one "key=value" a line. Never
// the system-wide Vok.conf, which Vok only reads. A missing or unreadable file, or a value that is
// no number, is no state: the caller's default.
class UserState {
public:
    static QString path();
    static int value(const QString& key, int fallback);
    // Written whole through the checked writer. A state that cannot be written (a read-only
    // home) is only not remembered: false, and nothing else happens.
    static bool setValue(const QString& key, int value);
};

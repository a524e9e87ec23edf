#pragma once

#include "data/projectdata.h"

#include <QString>

class QCommandLineParser;

// The working record-sets of a data folder, open as the main window opens them, positioned on a
// project chosen by name: what the verbs that act on one project share.
class ProjectSession {
public:
    explicit ProjectSession(const QString& folder);

    // Makes the first project of that name current (the lowest number); throws when none has it.
    void goToProject(const QString& name);
    // Makes the first record of a detail whose field holds the name current; throws otherwise.
    void goTo(vok::Table& records, const char* field, const QString& name, const char* what);

    // No positional argument is taken: a stray one is a usage error.
    static void refuseArguments(const QCommandLineParser& parser);

    ProjectData dm;
};

#pragma once

#include "serverscratch.h"

#include <QString>
#include <QTemporaryDir>

// A benchmark's data folder: projects x majors x actions in a temporary folder, with the engine
// configuration kept beside it so that a run never touches the user's. With VOK_BENCH_ENGINE=
// postgresql the data lives on the server named by VOK_TEST_POSTGRESQL (see scripts/bench.sh),
// copied there from the folder.
class SizedFolder {
public:
    SizedFolder(int projects, int majors, int actions);

    // Where the benchmark's data lives: the folder, or a URI on the server.
    const QString& path() const { return location_; }
    QString root() const { return dir_.path(); }
    // The folder the data was made in.
    const QString& folder() const { return folder_; }
    static bool onServer();
    static const char* engineName();
    // A data folder as the benchmark's engine holds it: itself, or a copy on the server.
    QString onEngine(const QString& folder);

private:
    QTemporaryDir dir_;
    QString folder_;
    ServerScratch scratch_;
    QString location_;
};

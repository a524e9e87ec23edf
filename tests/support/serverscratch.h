#pragma once

#include <QString>
#include <QStringList>

// Scratch data locations on the test server (VOK_TEST_POSTGRESQL): each an empty schema of the
// server's database, named by a URI whose search path selects it; all dropped when this goes.
class ServerScratch {
public:
    ServerScratch() = default;
    ~ServerScratch();
    ServerScratch(const ServerScratch&) = delete;
    ServerScratch& operator=(const ServerScratch&) = delete;

    static QString serverUri();
    // A URI naming a new empty schema.
    QString create();

private:
    QStringList schemas_;
};

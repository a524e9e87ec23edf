#pragma once

#include <QString>
#include <QtTest>

// Every storage test runs once per engine: a test class adds the engines as global data rows in
// initTestCase_data() and calls VOK_INIT_ENGINE() first in init(); its test functions then run
// unchanged on SQLite and on the PostgreSQL server named by VOK_TEST_POSTGRESQL (started by
// scripts/with-postgres.sh). Without a server the server's rows skip, except where
// VOK_REQUIRE_POSTGRESQL=1 (CI), where they fail.
namespace Engines {

void addRows();
// "sqlite" or "postgresql": the engine of the running row ("sqlite" without engine rows).
QString current();
bool isServer();
// Why the running row cannot run (no server), or empty.
QString unavailable();
bool required();

} // namespace Engines

#define VOK_INIT_ENGINE()                                                                          \
    do {                                                                                           \
        if (const QString why_ = Engines::unavailable(); !why_.isEmpty()) {                        \
            if (Engines::required())                                                               \
                QFAIL(qPrintable(why_));                                                           \
            QSKIP(qPrintable(why_));                                                               \
        }                                                                                          \
    } while (false)

// For a test of what only a data folder has (its files): the server's row skips.
#define VOK_FOLDER_ONLY(why)                                                                       \
    do {                                                                                           \
        if (Engines::isServer())                                                                   \
            QSKIP(why);                                                                            \
    } while (false)

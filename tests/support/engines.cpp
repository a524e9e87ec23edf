#include "engines.h"

namespace {

bool rowsAdded = false;

} // namespace

namespace Engines {

void addRows() {
    rowsAdded = true;
    QTest::addColumn<QString>("engine");
    QTest::newRow("sqlite") << QStringLiteral("sqlite");
    QTest::newRow("postgresql") << QStringLiteral("postgresql");
}

QString current() {
    if (!rowsAdded)
        return QStringLiteral("sqlite");
    QFETCH_GLOBAL(QString, engine);
    return engine;
}

bool isServer() {
    return current() == QLatin1String("postgresql");
}

QString unavailable() {
    if (isServer() && qEnvironmentVariableIsEmpty("VOK_TEST_POSTGRESQL"))
        return QStringLiteral("no PostgreSQL server for this row: run the tests through "
                              "scripts/with-postgres.sh (VOK_TEST_POSTGRESQL is not set)");
    return {};
}

bool required() {
    return qEnvironmentVariable("VOK_REQUIRE_POSTGRESQL") == QLatin1String("1");
}

} // namespace Engines

#include "serverscratch.h"

#include "framework/dataset/postgresengine.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>

namespace {

std::atomic<int> schemaCounter{0};

// Runs statements on the server's own database, outside every Vok connection.
void onServer(const QStringList& statements) {
    const QString name = QStringLiteral("vok-scratch-admin");
    QSqlDatabase db = QSqlDatabase::contains(name)
                          ? QSqlDatabase::database(name)
                          : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    if (!db.isOpen()) {
        db.setConnectOptions(vok::PostgresEngine::connectionOptions(ServerScratch::serverUri()));
        if (!db.open())
            qFatal("cannot reach the test server: %s", qPrintable(db.lastError().text()));
        QSqlQuery(db).exec(QStringLiteral("SET client_min_messages = warning"));
    }
    QSqlQuery q(db);
    for (const QString& sql : statements) {
        if (!q.exec(sql))
            qWarning("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    }
}

} // namespace

QString ServerScratch::serverUri() {
    return qEnvironmentVariable("VOK_TEST_POSTGRESQL");
}

ServerScratch::~ServerScratch() {
    QStringList drops;
    for (const QString& s : std::as_const(schemas_))
        drops << QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(s);
    if (!drops.isEmpty())
        onServer(drops);
}

QString ServerScratch::create() {
    const QString schema = QStringLiteral("vok_%1_%2")
                               .arg(QCoreApplication::applicationPid())
                               .arg(schemaCounter.fetch_add(1));
    onServer({QStringLiteral("CREATE SCHEMA %1").arg(schema)});
    schemas_ << schema;
    const QString base = serverUri();
    return base + (base.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?')) +
           QStringLiteral("options=-csearch_path%3D") + schema;
}

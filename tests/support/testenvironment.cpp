#include "testenvironment.h"

#include "data/datafolder.h"
#include "engines.h"
#include "framework/dataset/postgresengine.h"
#include "framework/ui/clock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>

namespace {

std::atomic<int> schemaCounter{0};

QString serverUri() {
    return qEnvironmentVariable("VOK_TEST_POSTGRESQL");
}

// Runs statements on the test server's own database, outside every Vok connection.
void onServer(const QStringList& statements) {
    const QString name = QStringLiteral("vok-test-admin");
    {
        QSqlDatabase db = QSqlDatabase::contains(name)
                              ? QSqlDatabase::database(name)
                              : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        if (!db.isOpen()) {
            db.setConnectOptions(vok::PostgresEngine::connectionOptions(serverUri()));
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
}

} // namespace

TestEnvironment::TestEnvironment(const QDateTime& now)
    : dir_(std::make_unique<QTemporaryDir>()), engine_(Engines::current()) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    qputenv("VOK_ENGINE_CONFIG",
            QDir(dir_->path()).filePath(QStringLiteral("engine.cfg")).toLocal8Bit());
    vok::Clock::setFixed(now);
    QDir().mkpath(QDir(dir_->path()).filePath(QStringLiteral("etc")));
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope,
                       QDir(dir_->path()).filePath(QStringLiteral("etc")));
}

TestEnvironment::~TestEnvironment() {
    vok::Clock::reset();
    QStringList drops;
    for (const QString& s : std::as_const(schemas_))
        drops << QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(s);
    if (!drops.isEmpty())
        onServer(drops);
}

QString TestEnvironment::location(const QString& name) {
    return location(name, engine_);
}

QString TestEnvironment::location(const QString& name, const QString& engine) {
    if (engine != QLatin1String("postgresql"))
        return QDir(dir_->path()).filePath(name);
    // A schema of its own per data folder, selected through the URI's search path.
    const QString schema = QStringLiteral("vok_%1_%2")
                               .arg(QCoreApplication::applicationPid())
                               .arg(schemaCounter.fetch_add(1));
    onServer({QStringLiteral("CREATE SCHEMA %1").arg(schema)});
    schemas_ << schema;
    const QString base = serverUri();
    return base + (base.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?')) +
           QStringLiteral("options=-csearch_path%3D") + schema;
}

QString TestEnvironment::emptyFolder(const QString& name) {
    const QString path = location(name);
    DataFolder::create(path);
    return path;
}

QString TestEnvironment::demoFolder(const QString& name) {
    const QString path = location(name);
    DataFolder::createDemo(path, vok::Clock::today());
    return path;
}

void TestEnvironment::writeSettings(const QString& data, const QString& language) {
    const QString file = QDir(dir_->path()).filePath(QStringLiteral("etc/Vok.conf"));
    QFile::remove(file);
    QSettings s(file, QSettings::IniFormat);
    s.beginGroup(QStringLiteral("Vok"));
    if (!data.isNull())
        s.setValue(QStringLiteral("Data"), data);
    if (!language.isNull())
        s.setValue(QStringLiteral("Language"), language);
    s.endGroup();
    s.sync();
}

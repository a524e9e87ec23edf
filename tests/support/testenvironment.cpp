#include "testenvironment.h"

#include "data/datafolder.h"
#include "engines.h"
#include "framework/ui/clock.h"
#include "serverscratch.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSettings>

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
}

QString TestEnvironment::location(const QString& name) {
    return location(name, engine_);
}

QString TestEnvironment::location(const QString& name, const QString& engine) {
    if (engine != QLatin1String("postgresql"))
        return QDir(dir_->path()).filePath(name);
    // A schema of its own per data folder, selected through the URI's search path.
    return scratch_.create();
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

void TestEnvironment::homeInside() {
    qputenv("HOME", QDir(root()).filePath(QStringLiteral("home")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", QDir(root()).filePath(QStringLiteral("config")).toLocal8Bit());
}

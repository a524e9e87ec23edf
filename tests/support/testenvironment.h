#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "serverscratch.h"

// A fixed world for a test: US English locale, a fixed clock, the engine configuration and the
// per-machine settings in a temporary folder, and data folders created inside it, on the engine
// of the test's row: folders on SQLite, schemas of the test server on PostgreSQL (each named by
// a URI that selects it), dropped again at the end.
class TestEnvironment {
public:
    explicit TestEnvironment(const QDateTime& now = QDateTime(QDate(2024, 3, 1), QTime(9, 0)));
    ~TestEnvironment();

    QString root() const { return dir_->path(); }
    // Where a new data folder would live, not yet created: a folder, or a URI on the server.
    QString location(const QString& name = QStringLiteral("data"));
    // The same on a given engine ("sqlite" or "postgresql").
    QString location(const QString& name, const QString& engine);
    // A new data folder: empty, or with the demo data.
    QString emptyFolder(const QString& name = QStringLiteral("data"));
    QString demoFolder(const QString& name = QStringLiteral("demo"));
    // The user's home and configuration folders inside the test's folder: documents and
    // settings a window writes land there.
    void homeInside();
    // Writes the system-wide Vok.conf read by the start-up; a null value leaves the key out.
    void writeSettings(const QString& data, const QString& language);

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString engine_;
    ServerScratch scratch_;
};

#pragma once

#include <QDateTime>
#include <QString>
#include <QTemporaryDir>
#include <memory>

// A fixed world for a test: US English locale, a fixed clock, the engine configuration and the
// per-machine settings in a temporary folder, and data folders created inside it.
class TestEnvironment {
public:
    explicit TestEnvironment(const QDateTime& now = QDateTime(QDate(2024, 3, 1), QTime(9, 0)));
    ~TestEnvironment();

    QString root() const { return dir_->path(); }
    // A new data folder: empty, or with the demo data.
    QString emptyFolder(const QString& name = QStringLiteral("data"));
    QString demoFolder(const QString& name = QStringLiteral("demo"));
    // Writes the system-wide Vok.conf read by the start-up; a null value leaves the key out.
    void writeSettings(const QString& data, const QString& language);

private:
    std::unique_ptr<QTemporaryDir> dir_;
};

#pragma once

#include "engine.h"
#include "framework/io/heldfile.h"
#include "framework/io/outputtarget.h"
#include "lockfiles.h"

#include <QHash>
#include <memory>

struct sqlite3;

namespace vok {

class HeldFolder;

// A data folder: the database vok.sqlite, with each member's sheet a database file of its own
// attached to the connection while it is used, so that a merge commits both atomically. The
// folder is held open while the connection is; each file is opened in it without following a
// link and judged by what was opened, and SQLite is then held to that very file (SqliteFileCheck).
class SqliteEngine : public Engine {
public:
    static constexpr const char* DatabaseFile = "vok.sqlite";

    SqliteEngine();
    ~SqliteEngine() override;

    bool isServer() const override { return false; }
    void open(const QString& location, const EngineConfig::Settings& settings) override;
    void close() override;
    std::unique_ptr<Statement> prepare(const QString& sql) override;
    void createDatabase(const QString& location, const QList<TableDef>& tables,
                        const EngineConfig::Settings& settings) override;
    bool holdsData(const QString& location) override;

    void beginUnit() override;
    void commitUnit() override;
    void rollbackUnit() override;
    bool changedElsewhere() override;

    QString rowId(const TableRef& ref) override;
    QString returningRowId(const TableRef& ref) override;
    QString sameValue() const override;
    QString foldedContains(const QString& column) override;

    QString findTable(const QString& baseName) override;
    QString mainSchema() const override;
    QStringList columns(const TableRef& ref) override;
    TableRef openSheet(const QString& fileName, int unitDepth) override;
    void releaseSheet(const TableRef& ref, int unitDepth) override;
    bool sheetExists(const QString& fileName) override;
    QStringList sheetFiles() override;
    void createSheet(const QString& fileName, const TableDef& def, int unitDepth) override;
    // A lock file beside the sheet, "<sheet>.lock".
    bool claimSheet(const QString& fileName, bool shared) override;
    void unclaimSheet(const QString& fileName) override;
    void afterUnit() override;

protected:
    QString autoIncrementColumn(const FieldDef& def) const override;
    QString dateTimeType() const override;
    QString flagType() const override;
    QString realType() const override;
    QString collate(const FieldDef& def, const EngineConfig::Settings& settings) const override;

private:
    sqlite3* handle() const;
    StatementEffect effectOf(const QSqlQuery& query) const override;
    static QString uriFor(const QString& file, const char* mode);
    QString filePath(const QString& fileName) const;
    // A file of the folder, opened and judged: closed when there is none. A link (never read or
    // written through), anything but a regular file (broken, not absent) and, for a sheet, a file
    // with another name too or the database itself are refused.
    HeldFile judged(const QString& fileName, const QString& what, bool sheet) const;
    // Attaches the file judged under `alias`; SQLite must open that very file.
    void attach(const QString& fileName, const FileIdentity& file, const QString& alias,
                const char* mode);
    void detachPending();

    struct Attached {
        QString alias;
        int refs = 0;
    };
    QString folder_;
    std::unique_ptr<HeldFolder> held_;
    std::unique_ptr<OutputTarget::Protection> protection_;
    FileIdentity database_;
    EngineConfig::Settings settings_;
    int aliasCounter_ = 0;
    QHash<QString, Attached> attached_; // file name -> alias
    QStringList pendingDetach_;
    qlonglong dataVersion_ = -1;
    std::unique_ptr<Statement> dataVersionQuery_;
    // Statements of a closed connection must not finalize against it.
    std::shared_ptr<bool> alive_;
    LockFiles locks_;
};

} // namespace vok

#pragma once

#include "engine.h"

#include <QElapsedTimer>
#include <QHash>
#include <memory>

struct pg_conn;

namespace vok {

class PostgresCommitNotices;

// A PostgreSQL database named by a connection URI. Members' sheets are tables of the same
// database (vok_sheet_N, listed with their file names in vok_sheets), so a merge is one server
// transaction. Every writer bumps the one row of vok_changes inside its transaction (a trigger
// on every table does it once per transaction): that row's lock makes writers wait for a unit
// of work as SQLite's write lock does, and its number tells a connection that another one has
// committed.
class PostgresEngine : public Engine {
public:
    PostgresEngine();
    ~PostgresEngine() override;

    // libpq's connection parameters of a URI, as "key='value' ..."; refuses a password, which
    // belongs in ~/.pgpass or PGPASSWORD, not in a setting.
    static QString connectionOptions(const QString& uri);

    bool isServer() const override { return true; }
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
    QString counterColumn() override;
    void counterRead(qlonglong value) override;
    void noteOwnWrite() override;
    bool listenForCommits() override;
    int noticeSocket() const override;
    bool takeCommitNotices() override;
    void flush() override;
    qlonglong reserveRowId(const TableRef& ref) override;
    std::unique_ptr<RowSetWriter> rowSetWriter(const TableRef& ref, const QStringList& columns,
                                               const QList<bool>& autoInc) override;
    // Starts sending writes without waiting, inside a unit only; false outside one.
    bool enterPipeline();
    // A write that must change `rows` rows went out without its answer.
    void queued(int rows);

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
    void createAndBegin(const QString& location, const QList<TableDef>& tables,
                        const EngineConfig::Settings& settings) override;
    void createSheet(const QString& fileName, const TableDef& def, int unitDepth) override;
    // A session's advisory lock named after the schema and the sheet.
    bool claimSheet(const QString& fileName, bool shared) override;
    void unclaimSheet(const QString& fileName) override;
    void syncAutoIncrement(const TableRef& ref) override;
    void catchUpNumbers() override;
    StatementEffect effectOf(const QSqlQuery& query) const override;

protected:
    QString autoIncrementColumn(const FieldDef& def) const override;
    QString dateTimeType() const override;
    QString flagType() const override;
    QString realType() const override;

private:
    pg_conn* handle() const;
    void connect(const QString& location, const EngineConfig::Settings& settings);
    // Runs SQL text (several statements allowed) and returns the first field of the last
    // result's first row.
    QVariant scalar(const QString& sql);
    QVariant scalar(const QString& sql, const QVariantList& binds);
    bool holdsVokData();
    // Names the functions and trigger that keep vok_changes, in the connection's schema.
    QStringList changeTrackingSql();
    QString triggerSql(const TableRef& ref);
    QString schemaName();

    // Drops the answers of writes sent without waiting (the unit is being undone).
    void discardPipeline();
    QString bareRowId(const TableRef& ref);

    bool inUnit_ = false;
    bool pipeline_ = false;
    // The rows each write sent without waiting must change, in the order sent.
    QList<int> pending_;
    QHash<QString, QList<qlonglong>> reservedIds_;
    int reserveBlock_ = 16;
    QString location_;
    QString schema_;
    EngineConfig::Settings settings_;
    std::shared_ptr<bool> alive_;
    QHash<QString, QString> rowIds_;
    // The sheets this session holds: shared or not.
    QHash<QString, bool> sharedClaims_;
    std::unique_ptr<Statement> counterQuery_;
    std::unique_ptr<PostgresCommitNotices> notices_;
    // Change tracking: the counter as last seen, this connection's own bumps since, and when
    // it was last read.
    qlonglong seen_ = -1;
    qlonglong ownBumps_ = 0;
    qlonglong unitNumber_ = -1;
    bool foundAtBegin_ = false;
    QElapsedTimer lastLook_;
    quint64 processSeen_ = 0;
    quint64 ownCommits_ = 0;
    quint64 ownCommitsSeen_ = 0;
};

} // namespace vok

#pragma once

#include "engineconfig.h"
#include "rowsetwriter.h"
#include "statement.h"
#include "tabledef.h"
#include "tableref.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <memory>

class QSqlError;
class QSqlQuery;

namespace vok {

class Statement;
class DatabaseError;

// What differs between the storage engines, in one place: how a connection is opened, its
// statements prepared and its units of work locked, how other connections' commits are noticed,
// and the pieces of SQL that are not the same on both (row identity, auto-increment columns,
// column types, the table list, how a member's sheet is reached). One implementation per engine:
// SQLite for a data folder, PostgreSQL for a server.
class Engine {
public:
    virtual ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // A PostgreSQL connection URI ("postgresql://user@host:port/db?...", the scheme in any case)
    // or keyword string ("host=db dbname=vok"), or a folder.
    static bool isServerLocation(const QString& location);
    // Whether the location begins with a scheme ("name://"): never a folder.
    static bool hasScheme(const QString& location);
    static std::unique_ptr<Engine> forLocation(const QString& location);

    virtual bool isServer() const = 0;

    // --- connection ---
    // Opens the location's database; it must hold Vok data: the connection never creates it.
    virtual void open(const QString& location, const EngineConfig::Settings& settings) = 0;
    virtual void close() = 0;
    bool isOpen() const { return open_; }
    // Statements executed on this connection so far: on a server, the round trips.
    quint64 statementsRun() const { return *runs_; }
    void countStatement() { ++*runs_; }
    QSqlDatabase database() const;
    virtual std::unique_ptr<Statement> prepare(const QString& sql) = 0;
    // Creates the location's database with the given tables; refuses one that holds Vok data.
    virtual void createDatabase(const QString& location, const QList<TableDef>& tables,
                                const EngineConfig::Settings& settings) = 0;
    // The same, leaving the connection open on it inside a unit of work that the caller fills
    // and ends: on the server the tables and what goes into them are one transaction.
    virtual void createAndBegin(const QString& location, const QList<TableDef>& tables,
                                const EngineConfig::Settings& settings);
    // Whether the location holds Vok data (its projects table), without opening it for work.
    virtual bool holdsData(const QString& location) = 0;

    // --- units of work ---
    // Starts a top-level unit that holds the write lock from its start, as other writers wait
    // until it ends: what it reads cannot change under it.
    virtual void beginUnit() = 0;
    virtual void commitUnit() = 0;
    virtual void rollbackUnit() = 0;
    // Whether another connection has committed a change since the last call. Cheap enough to
    // ask before every reuse of cached rows.
    virtual bool changedElsewhere() = 0;
    // A column a read may add to answer that question in the same round trip; empty where the
    // question costs no round trip. The value read goes to counterRead().
    virtual QString counterColumn() { return {}; }
    virtual void counterRead(qlonglong /*value*/) {}
    // This connection wrote outside a unit.
    virtual void noteOwnWrite() {}
    // Starts listening for the notices an engine sends when another connection commits; false
    // where none come and only changedElsewhere() tells.
    virtual bool listenForCommits() { return false; }
    // The socket on which those notices arrive; -1 where none do.
    virtual int noticeSocket() const { return -1; }
    // Takes the notices that have arrived, without a round trip: true when one tells of another
    // connection's commit, which the next changedElsewhere() then asks about.
    virtual bool takeCommitNotices() { return false; }
    // Writes sent without waiting are answered and checked; before anything else uses the
    // connection.
    virtual void flush() {}
    // A number for a new row of the table, taken ahead so that an insert need not wait for the
    // engine's answer; 0 when the engine gives numbers only as it inserts.
    virtual qlonglong reserveRowId(const TableRef& /*ref*/) { return 0; }
    // Writes many rows of a table at once, for a unit of work's writes held back by the
    // record-sets; null where a statement per row costs as little (a local file). `columns` are
    // the stored columns in record-set order.
    virtual std::unique_ptr<RowSetWriter> rowSetWriter(const TableRef& /*ref*/,
                                                       const QStringList& /*columns*/,
                                                       const QList<bool>& /*autoInc*/) {
        return {};
    }

    // --- dialect ---
    // Column of a table that identifies a row: SQLite's rowid, the AutoInc key on the server.
    virtual QString rowId(const TableRef& ref) = 0;
    // Appended to an INSERT so that it reports the new row's identity.
    virtual QString returningRowId(const TableRef& ref) = 0;
    // "a <same> b" is true when both are null or both are equal, as stored.
    virtual QString sameValue() const = 0;
    // A condition true where a text column holds the statement's parameter at that place, a
    // text folded by TextFold: letter case and accents aside, as TextFold folds them. For a
    // search by name over a whole table.
    virtual QString foldedContains(const QString& column) = 0;
    QString columnType(const FieldDef& def) const;
    // CREATE TABLE and CREATE INDEX statements of a table, named as given.
    QStringList createTableSql(const TableDef& def, const TableRef& name,
                               const EngineConfig::Settings& settings) const;

    // --- tables and sheets ---
    // The exact name of a table of the database whose name equals baseName letter case aside;
    // empty when there is none.
    virtual QString findTable(const QString& baseName) = 0;
    virtual QString mainSchema() const = 0;
    virtual QStringList columns(const TableRef& ref) = 0;
    // A member's sheet, by its file name ("Site Crew.db"); each open is paired with a release.
    virtual TableRef openSheet(const QString& fileName, int unitDepth) = 0;
    virtual void releaseSheet(const TableRef& ref, int unitDepth) = 0;
    virtual bool sheetExists(const QString& fileName) = 0;
    // The file names of every member's sheet.
    virtual QStringList sheetFiles() = 0;
    virtual void createSheet(const QString& fileName, const TableDef& def, int unitDepth) = 0;
    // Holds a sheet for this connection, alone or shared with other shared holders, against every
    // other connection on this computer or another; false when a hold of another kind, or one
    // alone, is in the way. The hold ends with the connection, however it ends.
    virtual bool claimSheet(const QString& fileName, bool shared) = 0;
    virtual void unclaimSheet(const QString& fileName) = 0;
    // Runs after the outermost unit ended.
    virtual void afterUnit() {}
    // After rows were written with their AutoInc numbers given: new rows continue after them.
    virtual void syncAutoIncrement(const TableRef& /*ref*/) {}
    // After an insert written by hand into a table nobody named: every table's numbers move on
    // past the highest stored (never back, as others may hold numbers taken ahead).
    virtual void catchUpNumbers() {}
    // What a query of the engine's driver did when it ran, as the engine reports it.
    virtual StatementEffect effectOf(const QSqlQuery& /*query*/) const {
        return StatementEffect::Writes;
    }

    // The engine's error as the user reads it; a lock held by another user says so.
    static DatabaseError error(QString text, bool locked, const QString& context);
    [[noreturn]] static void fail(const QSqlError& error, const QString& context);

protected:
    Engine() = default;
    // Opens the driver connection under a name of its own; throws the engine's error.
    void openDatabase(const QString& driver, const QString& name, const QString& options,
                      const QString& context);
    void closeDatabase();
    // Runs one statement through the driver, throwing its error.
    void execute(const QString& sql);
    virtual QString autoIncrementColumn(const FieldDef& def) const = 0;
    // The column types that differ: date-times, flags (0 or 1) and floating point.
    virtual QString dateTimeType() const = 0;
    virtual QString flagType() const = 0;
    virtual QString realType() const = 0;
    virtual QString collate(const FieldDef& def, const EngineConfig::Settings& settings) const;

    QString connection_;
    bool open_ = false;
    // Shared with the statements, which may outlive a closed connection.
    std::shared_ptr<quint64> runs_ = std::make_shared<quint64>(0);
};

} // namespace vok

#pragma once

#include "engine.h"
#include "engineconfig.h"
#include "sheetclaim.h"
#include "statement.h"
#include "tabledef.h"
#include "tableref.h"

#include <QHash>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>
#include <memory>

namespace vok {

class DatabaseError;
class RowWriter;

// The connection to the data: a data folder (its database vok.sqlite, members' sheets attached
// while they are used) or a PostgreSQL database named by a URI; transactions, and the engine
// settings. Every SQL statement goes through here.
class Store : public QObject {
    Q_OBJECT
public:
    static constexpr const char* DatabaseFile = "vok.sqlite";

    explicit Store(QObject* parent = nullptr);
    ~Store() override;

    // Connection parameters, "path=<data folder or URI>" being the one that counts.
    void setParams(const QStringList& params);
    const QStringList& params() const { return params_; }
    QString path() const;
    // Where the data lives: the path, or the engine's default folder when empty.
    QString location() const;
    // The folder the connection uses (a data folder's path); meaningless for a server.
    QString folder() const;
    static QString defaultFolder();
    QString filePath(const QString& fileName) const;
    bool isServer() const;

    // The folder where the engine coordinates processes sharing the data folder.
    void setNetworkControlDir(const QString& dir) { netDir_ = dir; }
    const QString& networkControlDir() const { return netDir_; }

    // Opens the location's database; it must exist: the connection never creates one.
    void open();
    void close();
    bool isOpen() const { return open_; }
    QSqlDatabase database() const;
    Engine& engine();
    const EngineConfig::Settings& settings() const { return settings_; }

    // Finds the table behind a file name: "projects.DB" names the table projects of the
    // database; any other name ("Site Crew.db") is a member's sheet. Each resolve is paired
    // with a release.
    TableRef resolve(const QString& fileName);
    void release(const TableRef& ref);
    // Column names of a table, in file order.
    QStringList columns(const TableRef& ref);

    // A member's sheet by its file name: whether it exists, and its creation with one table.
    bool fileExists(const QString& fileName);
    // The file names of every member's sheet.
    QStringList files();
    void createFile(const QString& fileName, const TableDef& def);
    // Holds a member's sheet, for a window alone or shared by merges; null when a claim in the
    // way holds it, in this process or in another installation on the same data. See SheetClaim.
    std::unique_ptr<SheetClaim> claimSheet(const QString& fileName, SheetClaim::Kind kind);
    // Called by the claim as it goes; a claim from before the connection was last closed has
    // nothing left to release.
    void unclaimSheet(const QString& fileName, quint64 connection);
    // Creates a new database with the given tables (a folder, or a server database named by a
    // URI); refuses one that already holds Vok data.
    static void createDatabase(const QString& location, const QList<TableDef>& tables,
                               const EngineConfig::Settings& settings);
    static bool holdsData(const QString& location);
    // Creates the database at this store's location and opens it inside a unit of work, for the
    // caller to fill and commit (or roll back): on a server the tables and their rows are one
    // transaction.
    void createAndBegin(const QList<TableDef>& tables);
    // After rows were written with their AutoInc numbers given: new rows continue after them.
    void syncAutoIncrement(const QString& table);

    // A prepared statement; one that reads or writes only one table names it. A write to a named
    // table keeps the record-sets' range caches of other tables valid (any other writing
    // statement invalidates them all), and only that table's held rows go before it runs.
    // Whether it wrote is the engine's answer, whatever the text looks like. A caller that
    // gives rows their numbers here calls syncAutoIncrement() after.
    std::unique_ptr<Statement> statement(const QString& sql);
    // `callerSends`: the caller sends the held rows its statement reads (sendHeld() with a range)
    // before each run, rather than every held row of the table.
    std::unique_ptr<Statement> statement(const QString& sql, const TableRef& table,
                                         bool callerSends = false);

    // Runs one statement through the driver, throwing the engine's error on failure. SQL
    // written by hand: after an insert, every table's numbers catch up with the rows stored.
    QSqlQuery exec(const QString& sql, const QVariantList& binds = {});
    void execPrepared(QSqlQuery& query);
    QSqlQuery prepare(const QString& sql);

    void begin();
    void commit();
    void rollback();
    int transactionDepth() const { return depth_; }
    // A number for the unit of work running now, which holds the write lock from its start; 0
    // outside one. Rows read under this number cannot change under the unit: no other writer
    // gets in until it ends, so its writes need not check that they are still as read.
    quint64 lockedUnit() const { return depth_ > 0 ? unit_ : 0; }
    // Statements executed since the connection opened: on a server, its round trips.
    quint64 statementsRun() const { return engine_ ? engine_->statementsRun() : 0; }

    // What has written to a table since a record-set read it: its own writes through this
    // connection, other statements of this connection, and commits by other connections.
    struct Stamp {
        quint64 table = 0;
        quint64 other = 0;
        quint64 external = 0;
        bool operator==(const Stamp&) const = default;
    };
    // The stamp as it stands now; outside a transaction it asks the engine whether another
    // connection has committed (inside one, the unit's write lock keeps them out).
    Stamp stamp(const TableRef& ref);
    // Commits by other connections found so far, by any look; `look` asks the engine first
    // (outside a transaction, as stamp() does).
    quint64 othersCommits(bool look);
    quint64 tableWrites(const TableRef& ref) const { return tableWrites_.value(ref.sql()); }
    quint64 otherWrites() const { return otherWrites_; }
    void noteWrite(const TableRef& ref);
    void noteOtherWrite();

    // Row writes the record-sets hold back inside a unit of work (see RowWriter), sent before
    // any statement that reads or writes their table, before any other SQL, and before the unit
    // commits; dropped when it is undone.
    bool holdsWrites() const { return open_ && depth_ > 0; }
    // A writer starts holding rows: another writer's rows of the same table go first.
    void holding(RowWriter& writer);
    void notHolding(RowWriter& writer);
    void sendHeld();
    void sendHeld(const TableRef& ref);
    // Before the rows of a table whose columns hold the given values are read: the held rows
    // that are, or were, such rows.
    void sendHeld(const TableRef& ref, const QStringList& columns, const QVariantList& values);
    // Held rows were lost (their writer went with them): the unit cannot commit.
    void loseHeld() { heldLost_ = true; }

    [[noreturn]] static void fail(const QSqlError& error, const QString& context);
    // The engine's error as the user reads it; a lock held by another process says so.
    static DatabaseError engineError(QString text, bool locked, const QString& context);

Q_SIGNALS:
    // A transaction was undone: record-sets drop what they cached.
    void rolledBack();
    void aboutToClose();

private:
    void ensureOpen();
    void dropHeld();
    void noteEffectOf(const QSqlQuery& query);

    QStringList params_;
    QString netDir_;
    bool open_ = false;
    int depth_ = 0;
    quint64 unit_ = 0;
    EngineConfig::Settings settings_;
    std::unique_ptr<Engine> engine_;
    QHash<QString, QStringList> columns_;
    QHash<QString, quint64> tableWrites_;
    quint64 otherWrites_ = 0;
    quint64 external_ = 0;
    QList<RowWriter*> holders_;
    // The sheets claimed through this connection: how many claims, and whether shared.
    struct Claims {
        int count = 0;
        bool shared = false;
    };
    QHash<QString, Claims> claimed_;
    quint64 connections_ = 0; // connections opened so far
    bool heldLost_ = false;
};

} // namespace vok

#pragma once

#include "engineconfig.h"
#include "tabledef.h"

#include <QHash>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>
#include <memory>

struct sqlite3;

namespace vok {

class DatabaseError;
class Statement;

// Where a record-set's rows live: a table of the data folder's database, or the one table of a
// personal file attached to the connection.
struct TableRef {
    TableRef() = default;
    TableRef(QString schemaName, QString tableName);
    QString schema;
    QString table;
    // The quoted "schema"."table", built once.
    const QString& sql() const { return sql_; }

private:
    QString sql_;
};

// The connection to a data folder: its database vok.sqlite, personal files attached while they
// are used, transactions, and the engine settings. Every SQL statement goes through here.
class Store : public QObject {
    Q_OBJECT
public:
    static constexpr const char* DatabaseFile = "vok.sqlite";

    explicit Store(QObject* parent = nullptr);
    ~Store() override;

    // Connection parameters, "path=<data folder>" being the one that counts.
    void setParams(const QStringList& params);
    const QStringList& params() const { return params_; }
    QString path() const;
    // The folder the connection uses: the path, or the engine's default folder when empty.
    QString folder() const;
    static QString defaultFolder();
    QString filePath(const QString& fileName) const;

    // The folder where the engine coordinates processes sharing the data folder.
    void setNetworkControlDir(const QString& dir) { netDir_ = dir; }
    const QString& networkControlDir() const { return netDir_; }

    // Opens the folder's database; it must exist: the connection never creates one.
    void open();
    void close();
    bool isOpen() const { return open_; }
    QSqlDatabase database() const;
    // The engine handle of the open connection, for prepared statements.
    sqlite3* handle();
    const EngineConfig::Settings& settings() const { return settings_; }

    // Finds the table behind a file name: "projects.DB" names the table projects of the
    // database; a file of the folder that is no table of the database ("Site Crew.db") is
    // attached. Each resolve is paired with a release.
    TableRef resolve(const QString& fileName);
    void release(const TableRef& ref);
    // Column names of a table, in file order.
    QStringList columns(const TableRef& ref);

    // Creates a personal file holding one table, with the engine's page size and level.
    void createFile(const QString& filePath, const TableDef& def);
    // Creates a new data folder database with the given tables; refuses an existing one.
    static void createDatabase(const QString& folder, const QList<TableDef>& tables,
                               const EngineConfig::Settings& settings);

    // Runs one statement, throwing the engine's error on failure.
    QSqlQuery exec(const QString& sql, const QVariantList& binds = {});
    void execPrepared(QSqlQuery& query);
    QSqlQuery prepare(const QString& sql);

    void begin();
    void commit();
    void rollback();
    int transactionDepth() const { return depth_; }

    // What has written to a table since a record-set read it: its own writes through this
    // connection, other statements of this connection, and commits by other processes.
    struct Stamp {
        quint64 table = 0;
        quint64 other = 0;
        quint64 external = 0;
        bool operator==(const Stamp&) const = default;
    };
    // The stamp as it stands now; outside a transaction it asks the engine whether another
    // process has committed (inside one, the unit's write lock keeps them out).
    Stamp stamp(const TableRef& ref);
    quint64 tableWrites(const TableRef& ref) const { return tableWrites_.value(ref.sql()); }
    quint64 otherWrites() const { return otherWrites_; }
    void noteWrite(const TableRef& ref) { ++tableWrites_[ref.sql()]; }
    void noteOtherWrite() { ++otherWrites_; }

    [[noreturn]] static void fail(const QSqlError& error, const QString& context);
    // The engine's error as the user reads it; a lock held by another process says so.
    static DatabaseError engineError(QString text, bool locked, const QString& context);

Q_SIGNALS:
    // A transaction was undone: record-sets drop what they cached.
    void rolledBack();
    void aboutToClose();

private:
    static QString uriFor(const QString& file, const char* mode);
    static QString createTableSql(const TableDef& def, const QString& schema,
                                  const QString& collation);
    static QStringList createIndexSql(const TableDef& def, const QString& schema);
    void detachPending();

    struct Attached {
        QString alias;
        int refs = 0;
    };
    QString connection_;
    QStringList params_;
    QString netDir_;
    bool open_ = false;
    int depth_ = 0;
    int aliasCounter_ = 0;
    EngineConfig::Settings settings_;
    QHash<QString, Attached> attached_; // canonical file path -> alias
    QStringList pendingDetach_;
    QHash<QString, QStringList> columns_;
    QHash<QString, quint64> tableWrites_;
    quint64 otherWrites_ = 0;
    quint64 external_ = 0;
    qlonglong dataVersion_ = -1;
    std::unique_ptr<Statement> dataVersionQuery_;
};

} // namespace vok

#pragma once

#include <QList>
#include <QString>

namespace vok {

// The storage engine's persistent configuration: a small text file of nodes, each a list of
// named entries. Start-up rewrites five entries; the store honours them when it opens or
// creates databases.
class EngineConfig {
public:
    struct Entry {
        QString name;
        QString value;
    };

    // What the store takes from the configuration.
    struct Settings {
        int pageSize = 4096;     // BLOCK SIZE: page size of databases the engine creates
        bool localShare = false; // LOCAL SHARE: shared locking with a busy timeout
        QString langDriver;      // LANGDRIVER: text collation
        int level = 7;           // LEVEL: stamped into files the engine creates
        // SQLite collation name for the language driver.
        QString collation() const;
    };

    // $VOK_ENGINE_CONFIG, else vokengine.cfg in the user's configuration folder.
    static QString defaultPath();

    explicit EngineConfig(QString path = defaultPath());

    const QString& path() const { return path_; }

    // Loads the file, creating it with the engine's defaults when it does not exist yet.
    // Throws DatabaseError (engine kind) when it can be neither read nor created.
    void initialise();

    bool hasNode(const QString& nodePath) const;
    // The records of a node in file order; empty when the node does not exist.
    QList<Entry> entries(const QString& nodePath) const;
    // Rewrites one record's value in the persistent file. Returns false when the node holds no
    // record of that exact name.
    bool writeEntry(const QString& nodePath, const QString& name, const QString& value);

    QString value(const QString& nodePath, const QString& name, const QString& fallback) const;
    Settings settings() const;

    static const QString systemInit;    // "\SYSTEM\INIT\"
    static const QString paradoxInit;   // "\DRIVERS\PARADOX\INIT\"
    static const QString paradoxCreate; // "\DRIVERS\PARADOX\TABLE CREATE\"

private:
    struct Node {
        QString path;
        QList<Entry> entries;
    };
    void load();
    void save() const;
    static QList<Node> defaults();
    const Node* node(const QString& nodePath) const;

    QString path_;
    QList<Node> nodes_;
};

} // namespace vok

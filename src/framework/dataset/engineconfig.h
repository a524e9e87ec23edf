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

    // Loads the file, creating it with the engine's defaults when it does not exist yet. A file
    // that is empty, unreadable or lacks entries (a full disk, a hand edit) is written afresh
    // from the defaults, keeping what it still holds, and notice() says so: the settings never
    // keep Vok from starting. A file that cannot be written leaves the defaults in memory.
    void initialise();
    // What initialise() had to mend; empty when nothing.
    const QString& notice() const { return notice_; }

    bool hasNode(const QString& nodePath) const;
    // The records of a node in file order; empty when the node does not exist.
    QList<Entry> entries(const QString& nodePath) const;
    // Rewrites one record's value in the persistent file. Returns false when the node holds no
    // record of that exact name.
    bool writeEntry(const QString& nodePath, const QString& name, const QString& value);
    // The same without saving, for several entries written at once by save().
    bool setEntry(const QString& nodePath, const QString& name, const QString& value);
    // Writes the file through the checked writer; throws vok::FileError, the file unchanged.
    void save() const;

    QString value(const QString& nodePath, const QString& name, const QString& fallback) const;
    Settings settings() const;

    // Larger than any settings file: anything bigger is not one.
    static constexpr qint64 MaxBytes = 1024 * 1024;

    static const QString systemInit;    // "\SYSTEM\INIT\"
    static const QString paradoxInit;   // "\DRIVERS\PARADOX\INIT\"
    static const QString paradoxCreate; // "\DRIVERS\PARADOX\TABLE CREATE\"

private:
    struct Node {
        QString path;
        QList<Entry> entries;
    };
    // False when the file cannot be read.
    bool load();
    // Adds the default nodes and entries the file lacks; whether any was missing.
    bool addMissingDefaults();
    static QList<Node> defaults();
    const Node* node(const QString& nodePath) const;

    QString path_;
    QList<Node> nodes_;
    QString notice_;
};

} // namespace vok

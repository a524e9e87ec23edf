#pragma once

#include <QList>
#include <QObject>

namespace vok {
class Store;
class Table;
} // namespace vok

// The copy data module: record-sets of its own over the files a project copy writes, on the
// shared connection, so the copy and the working record-sets share one unit of work. They have
// no links, no order and no rules (no new-record defaults, no member copying), and are open only
// while a copy runs. Each declares the fields of the working record-set over the same file, in
// the same order.
class ProjectCopyTables : public QObject {
    Q_OBJECT
public:
    explicit ProjectCopyTables(vok::Store* store, QObject* parent = nullptr);

    vok::Table* CopyProject;
    vok::Table* CopyMajor;
    vok::Table* CopyAction;
    vok::Table* CopyProjectTeam;
    vok::Table* CopyMajorTeam;
    vok::Table* CopyActionTeam;
    vok::Table* CopyContact;

    QList<vok::Table*> tables() const;
    // The copy record-set over the same file as a working record-set; null when there is none.
    vok::Table* copyOf(const vok::Table& working) const;

private:
    vok::Table* makeTable(vok::Store* store, const char* name, const char* file);
};

#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// What a merge did, and what it left undone: the sources it did not merge and why, and the names
// its lines gave that were found nowhere.
struct MergeReport {
    // A name given on lines and not found, e.g. `project "Roof"`, with the number of lines.
    struct NotFound {
        QString what;
        int lines = 0;
        bool operator==(const NotFound&) const = default;
    };
    // A source left exactly as it was, e.g. "Site Crew.db", and why.
    struct Skipped {
        QString source;
        QString reason;
    };

    int lines = 0;           // lines merged into rows
    int sources = 0;         // entry files merged
    QStringList withoutFile; // chosen members who have no time sheet file: nothing to merge
    QList<Skipped> skipped;
    QList<NotFound> notFound; // in the order first met; a line names at most one
    bool cancelled = false;

    void add(const MergeReport& other);
    // Counts `lines` more lines that gave the name.
    void addNotFound(const QString& what, int lines = 1);
    // Lines booked with number 0 from some level down because a name was not found.
    int linesNotFound() const;

    // The texts that end a merge, in the window and on the command line; empty when there is
    // nothing to tell. `kind` names the sources: "time sheets", "cost entry files".
    QString skippedText(const QString& kind) const;
    QString notFoundText() const;

private:
    QHash<QString, qsizetype> notFoundAt_; // where each name is in notFound
};

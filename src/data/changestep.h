#pragma once

#include "framework/dataset/rowjournal.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace vok {
class Table;
}

// One step of the window's history of changes: the rows one command wrote, in the order it wrote
// them, and what the command was, so that the step can be named, undone and done again as a
// whole.
struct ChangeStep {
    enum class Kind { Edit, Add, Delete, Copy };
    // What a row is.
    enum class Subject { Record, Note, TeamMember, Contact, TimeSheet, Cost };

    struct Row {
        // The working record-set over the row's table: its fields and keys name the row's values.
        vok::Table* table = nullptr;
        Subject subject = Subject::Record;
        // The level (0 project, 1 major activity, 2 action) of the record, or of the record the
        // row hangs off.
        int level = 0;
        // The record's name, the member's or the contact's, as written (or as it was, for a
        // removal); empty for a note and a time sheet or cost row.
        QString name;
        // The identity string of the node the row is ("12,3" for a major activity) or hangs off.
        QString node;
        vok::RowWrite write;
    };

    Kind kind = Kind::Edit;
    QList<Row> rows;
    // The row the step is named after: the record added, deleted, copied or changed.
    int main = 0;
    // An edit's changed fields, by name; a copy's source project's name.
    QStringList fields;
    QString sourceName;

    const Row& mainRow() const { return rows.at(main); }
    // "project “Alpha”", "team member “Ann”", "a note": the row in a sentence.
    static QString describe(const Row& row);
    // The node a window shows once the step is undone (`undone`) or done again: the record's
    // own, or its parent's when the step removed the record; empty when a project went.
    QString nodeAfter(bool undone) const;
};

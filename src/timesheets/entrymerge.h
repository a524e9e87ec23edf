#pragma once

#include "mergereport.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class TDataModule2;
namespace vok {
class Field;
class Table;
} // namespace vok

// Field names of one kind of entry line (time sheet or cost line), of the row it becomes, and of
// the totals its quantity raises at each level.
struct EntryLayout {
    QString project, major, action, dateFrom, dateTo, quantity, notes;
    QString quantityCaption; // how the entry window labels the quantity: "Hours", "Amount"
    QString rowProject, rowMajor, rowAction, rowDateFrom, rowDateTo, rowQuantity, rowNotes;
    QString rowMember; // empty: the rows name no member
    QString projectTotal, majorTotal, actionTotal;
};

// Moves every line of an open entry record-set into a target record-set: each line's names are
// resolved to numbers, a row is appended, the line's quantity is added to the totals of the
// project, major activity and action found, and the line is deleted. One source is one unit of
// work: its rows, totals and deletions are committed together, or, when anything fails, none of
// them, so a rerun never counts a line twice. A source holding a value that cannot be read as a
// date or a number is not merged at all.
class EntryMerge {
public:
    // `sourceName` names the source to the user ("Site Crew.db"). `views` are the record-sets
    // that show target rows (the main window's tabs); they are re-read after the merge so that
    // they show the new rows.
    EntryMerge(TDataModule2& dm, vok::Table& source, QString sourceName, vok::Table& target,
               EntryLayout layout, QList<vok::Table*> views);

    // Called inside the unit of work after each line is merged, with the count so far; an
    // exception thrown here undoes the whole source.
    std::function<void(int line)> afterLine;

    // `member` is written into each row when the layout has a member field.
    MergeReport run(const QString& member = QString());

    // Whether a value stored in a date or number field of a line reads as what it says: empty
    // when it does, otherwise why not ("'7,5' is not a number").
    static QString unreadable(const vok::Field& field, const QVariant& stored);

private:
    void mergeLines(const QString& member, MergeReport& report);
    // Throws, naming the line and the column, when a line holds an unreadable value.
    void checkLines() const;
    void refreshViews();

    TDataModule2& dm_;
    vok::Table& source_;
    QString sourceName_;
    vok::Table& target_;
    EntryLayout layout_;
    QList<vok::Table*> views_;
};

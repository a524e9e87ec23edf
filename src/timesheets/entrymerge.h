#pragma once

#include "mergereport.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

class NameLookup;
class ProjectData;
namespace vok {
class DatabaseError;
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
    EntryMerge(ProjectData& dm, vok::Table& source, QString sourceName, vok::Table& target,
               EntryLayout layout, QList<vok::Table*> views);

    // Called inside the unit of work after each line is merged, with the count so far; an
    // exception thrown here undoes the whole source.
    std::function<void(int line)> afterLine;

    // `member` is written into each row when the layout has a member field.
    MergeReport run(const QString& member = QString());

private:
    // A date or number column of the lines, as the user knows it.
    struct Column {
        const vok::Field* field;
        QString caption;
    };
    void mergeLines(const QString& member, MergeReport& report);
    // The date or number that line `row` (from 0) holds; empty reads as 30 December 1899 or 0. A
    // value that reads as something else than it says (text in a number, an unreadable date,
    // NaN, infinity, a number too large to add up) throws an error naming the line and column.
    QDate date(const Column& column, int row) const;
    double number(const Column& column, int row) const;
    vok::DatabaseError unreadable(const Column& column, int row, const QString& why) const;
    void refreshViews();
    // Reads ahead what the lines from `from` on name, a window of them (see
    // NameLookup::readAhead); returns where the window ends.
    int readAhead(NameLookup& lookup, int from, int count,
                  const std::array<const vok::Field*, 3>& names) const;

    ProjectData& dm_;
    vok::Table& source_;
    QString sourceName_;
    vok::Table& target_;
    EntryLayout layout_;
    QList<vok::Table*> views_;
};

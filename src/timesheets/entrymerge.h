#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class TDataModule2;
namespace vok {
class Table;
}

// Field names of one kind of entry line (time sheet or cost line), of the row it becomes, and of
// the totals its quantity raises at each level.
struct EntryLayout {
    QString project, major, action, dateFrom, dateTo, quantity, notes;
    QString rowProject, rowMajor, rowAction, rowDateFrom, rowDateTo, rowQuantity, rowNotes;
    QString rowMember; // empty: the rows name no member
    QString projectTotal, majorTotal, actionTotal;
};

// What a merge did.
struct MergeReport {
    int lines = 0;        // lines merged into rows
    int sources = 0;      // entry files merged
    QStringList skipped;  // chosen members left out, with the reason
    QStringList notFound; // names given on lines but not found, once each
    bool cancelled = false;

    void add(const MergeReport& other);
};

// Moves every line of an open entry record-set into a target record-set: each line's names are
// resolved to numbers, a row is appended, the line's quantity is added to the totals of the
// project, major activity and action found, and the line is deleted. One source is one unit of
// work: its rows, totals and deletions are committed together, or, when anything fails, none of
// them, so a rerun never counts a line twice.
class EntryMerge {
public:
    // `views` are the record-sets that show target rows (the main window's tabs); they are
    // re-read after the merge so that they show the new rows.
    EntryMerge(TDataModule2& dm, vok::Table& source, vok::Table& target, EntryLayout layout,
               QList<vok::Table*> views);

    // Called inside the unit of work after each line is merged, with the count so far; an
    // exception thrown here undoes the whole source.
    std::function<void(int line)> afterLine;

    // `member` is written into each row when the layout has a member field.
    MergeReport run(const QString& member = QString());

private:
    void mergeLines(const QString& member, MergeReport& report);
    void refreshViews();

    TDataModule2& dm_;
    vok::Table& source_;
    vok::Table& target_;
    EntryLayout layout_;
    QList<vok::Table*> views_;
};

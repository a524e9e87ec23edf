#include "entrymerge.h"

#include "data/tdatamodule2.h"
#include "framework/dataset/heldnotices.h"
#include "framework/dataset/transaction.h"
#include "namelookup.h"

using vok::Field;
using vok::Table;

namespace {

// Adds to a total of the record the lookup left current. The unit of work re-read the records
// under its write lock before the first line, so the value read here includes what other machines
// merged before, and no other machine can change it until the unit ends. The edit stays pending
// while the following lines name the same record; the record-set posts it when it moves, and the
// unit posts what is left before it commits.
void raise(Table& table, Field& total, double quantity) {
    table.edit();
    total.setAsFloat(total.asFloat() + quantity);
}

} // namespace

void MergeReport::add(const MergeReport& other) {
    lines += other.lines;
    sources += other.sources;
    skipped << other.skipped;
    for (const QString& name : other.notFound) {
        if (!notFound.contains(name))
            notFound << name;
    }
    cancelled = cancelled || other.cancelled;
}

EntryMerge::EntryMerge(TDataModule2& dm, Table& source, Table& target, EntryLayout layout,
                       QList<Table*> views)
    : dm_(dm), source_(source), target_(target), layout_(std::move(layout)),
      views_(std::move(views)) {}

MergeReport EntryMerge::run(const QString& member) {
    // The windows showing these record-sets hear of the merge once, when it ends.
    const vok::HeldNotices held(dm_.tables());
    MergeReport report;
    try {
        mergeLines(member, report);
    } catch (...) {
        try {
            refreshViews();
        } catch (...) {
            // The merge's own error is the one to report.
        }
        throw;
    }
    refreshViews();
    report.sources = 1;
    return report;
}

void EntryMerge::mergeLines(const QString& member, MergeReport& report) {
    Table& projects = *dm_.projects;
    Table& major = *dm_.Major;
    Table& action = *dm_.Action;
    for (Table* t : {&projects, &major, &action}) {
        if (!t->isActive())
            t->open();
    }
    // Pending edits are stored before, in their own right: undoing a failed merge must not undo
    // what the user typed elsewhere.
    for (Table* t : {&projects, &major, &action, &source_, &target_})
        t->checkBrowseMode();

    const auto field = [](Table& t, const QString& name) -> Field* {
        return name.isEmpty() ? nullptr : &t.fieldByName(name);
    };
    Field& lineProject = source_.fieldByName(layout_.project);
    Field& lineMajor = source_.fieldByName(layout_.major);
    Field& lineAction = source_.fieldByName(layout_.action);
    Field& lineFrom = source_.fieldByName(layout_.dateFrom);
    Field& lineTo = source_.fieldByName(layout_.dateTo);
    Field& lineQuantity = source_.fieldByName(layout_.quantity);
    Field& lineNotes = source_.fieldByName(layout_.notes);
    Field& rowProject = target_.fieldByName(layout_.rowProject);
    Field& rowMajor = target_.fieldByName(layout_.rowMajor);
    Field& rowAction = target_.fieldByName(layout_.rowAction);
    Field& rowFrom = target_.fieldByName(layout_.rowDateFrom);
    Field& rowTo = target_.fieldByName(layout_.rowDateTo);
    Field& rowQuantity = target_.fieldByName(layout_.rowQuantity);
    Field& rowNotes = target_.fieldByName(layout_.rowNotes);
    Field* rowMember = field(target_, layout_.rowMember);
    Field& projectTotal = projects.fieldByName(layout_.projectTotal);
    Field& majorTotal = major.fieldByName(layout_.majorTotal);
    Field& actionTotal = action.fieldByName(layout_.actionTotal);

    NameLookup lookup(dm_);
    vok::Transaction tx(*dm_.Database1);
    // Names and totals are read as they are now, under this unit's write lock; through the links
    // the major activities and actions are read again too. So are the lines: an entry view left
    // open may still show lines that another installation has merged since.
    projects.refresh();
    source_.refresh();
    int lines = 0;
    source_.first();
    while (!source_.eof()) {
        const LineIds ids =
            lookup.resolve(lineProject.asString(), lineMajor.asString(), lineAction.asString());
        const double quantity = lineQuantity.asFloat();

        target_.append();
        rowProject.setAsInteger(ids.project);
        rowMajor.setAsInteger(ids.major);
        rowAction.setAsInteger(ids.action);
        rowFrom.setAsDate(lineFrom.asDate());
        rowTo.setAsDate(lineTo.asDate());
        rowQuantity.setAsFloat(quantity);
        rowNotes.setValue(lineNotes.value());
        if (rowMember)
            rowMember->setAsString(member);
        target_.post();

        if (ids.project != 0)
            raise(projects, projectTotal, quantity);
        if (ids.major != 0)
            raise(major, majorTotal, quantity);
        if (ids.action != 0)
            raise(action, actionTotal, quantity);

        ++lines;
        if (afterLine)
            afterLine(lines);
        source_.next();
    }
    for (Table* t : {&action, &major, &projects})
        t->checkBrowseMode();
    // The merged lines go in the same unit, last first, which keeps each removal cheap.
    source_.last();
    while (!source_.isEmpty())
        source_.deleteRecord();
    tx.commit();
    report.lines = lines;
    report.notFound = lookup.notFound();
}

void EntryMerge::refreshViews() {
    for (Table* view : std::as_const(views_)) {
        if (view->isActive())
            view->refresh();
    }
}

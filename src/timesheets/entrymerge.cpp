#include "entrymerge.h"

#include "data/projectdata.h"
#include "framework/dataset/databaseerror.h"
#include "framework/dataset/heldnotices.h"
#include "framework/dataset/shortdate.h"
#include "framework/dataset/transaction.h"
#include "framework/io/showntext.h"
#include "namelookup.h"

#include <QSet>
#include <cmath>

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

EntryMerge::EntryMerge(ProjectData& dm, Table& source, QString sourceName, Table& target,
                       EntryLayout layout, QList<Table*> views)
    : dm_(dm), source_(source), sourceName_(std::move(sourceName)), target_(target),
      layout_(std::move(layout)), views_(std::move(views)) {}

namespace {

bool isNumber(const QVariant& stored) {
    const int type = stored.typeId();
    return type == QMetaType::LongLong || type == QMetaType::Int || type == QMetaType::Double;
}

// No value, as NULL or as an empty text another program may leave: read as empty, not refused.
bool isEmpty(const QVariant& stored) {
    return !stored.isValid() || stored.isNull() ||
           (stored.typeId() == QMetaType::QString && stored.toString().isEmpty());
}

} // namespace

QDate EntryMerge::date(const Column& column, int row) const {
    const QVariant stored = source_.valueAt(row, column.field->index());
    if (isEmpty(stored))
        return vok::ShortDate::zeroDate(); // an empty date reads as 30 December 1899
    const QDate read = isNumber(stored) ? QDate() : vok::ShortDate::readIso(stored.toString());
    if (!read.isValid())
        throw unreadable(column, row,
                         isNumber(stored)
                             ? QStringLiteral("%1 is not a date").arg(stored.toString())
                             : QStringLiteral("'%1' is not a date")
                                   .arg(vok::ShownText::escaped(stored.toString())));
    return read;
}

double EntryMerge::number(const Column& column, int row) const {
    const QVariant stored = source_.valueAt(row, column.field->index());
    if (isEmpty(stored))
        return 0; // an empty number reads as 0
    double value = 0;
    if (isNumber(stored)) {
        value = stored.toDouble();
        if (!std::isfinite(value))
            throw unreadable(column, row, QStringLiteral("%1 is not a number").arg(value));
    } else {
        // Read as the record-set reads it: a plain number, whatever the locale.
        bool ok = false;
        value = stored.toString().toDouble(&ok);
        if (!ok || !std::isfinite(value))
            throw unreadable(column, row,
                             QStringLiteral("'%1' is not a number")
                                 .arg(vok::ShownText::escaped(stored.toString())));
    }
    if (std::abs(value) > Field::LargestNumber)
        throw unreadable(column, row, QStringLiteral("%1 is too large a number").arg(value));
    return value;
}

vok::DatabaseError EntryMerge::unreadable(const Column& column, int row, const QString& why) const {
    return vok::DatabaseError(QStringLiteral("%1, line %2, column \"%3\" (%4): %5.")
                                  .arg(sourceName_)
                                  .arg(row + 1)
                                  .arg(column.caption, column.field->name(), why),
                              vok::DatabaseError::Kind::Convert);
}

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
    dm_.walkWrote();
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
    const Column lineFrom{&source_.fieldByName(layout_.dateFrom), QStringLiteral("Date from")};
    const Column lineTo{&source_.fieldByName(layout_.dateTo), QStringLiteral("Date to")};
    const Column lineQuantity{&source_.fieldByName(layout_.quantity), layout_.quantityCaption};
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
    vok::Transaction tx(*dm_.store);
    // Names and totals are read as they are now, under this unit's write lock; through the links
    // the major activities and actions are read again too. So are the lines: an entry view left
    // open may still show lines that another installation has merged since.
    projects.refresh();
    source_.refresh();
    int lines = 0;
    const int count = source_.recordCount();
    // Where each statement is a round trip, what the lines name is read ahead, many projects'
    // ranges a statement; a local file reads each range as fast when the line moves there.
    int readUpTo = dm_.store->isServer() ? 0 : count;
    source_.first();
    while (!source_.eof()) {
        if (lines == readUpTo)
            readUpTo = readAhead(lookup, lines, count, {&lineProject, &lineMajor, &lineAction});
        // A value that would be read as 0 or 30 December 1899 ends the unit: nothing of the
        // source is merged.
        const QDate from = date(lineFrom, lines);
        const QDate to = date(lineTo, lines);
        const double quantity = number(lineQuantity, lines);
        const LineIds ids = lookup.resolve(lineProject.asString(), lineMajor.asString(),
                                           lineAction.asString(), report);

        target_.append();
        rowProject.setAsInteger(ids.project);
        rowMajor.setAsInteger(ids.major);
        rowAction.setAsInteger(ids.action);
        rowFrom.setAsDate(from);
        rowTo.setAsDate(to);
        rowQuantity.setAsFloat(quantity);
        rowNotes.setValue(lineNotes.value());
        if (rowMember)
            rowMember->setAsString(member);
        target_.post();

        try {
            if (ids.project != 0)
                raise(projects, projectTotal, quantity);
            if (ids.major != 0)
                raise(major, majorTotal, quantity);
            if (ids.action != 0)
                raise(action, actionTotal, quantity);
        } catch (const vok::DatabaseError& e) {
            // A total pushed past the largest number: the line that did it is named.
            if (e.kind() != vok::DatabaseError::Kind::Convert)
                throw;
            throw unreadable(lineQuantity, lines,
                             QStringLiteral("%1 makes a total too large a number (%2)")
                                 .arg(quantity)
                                 .arg(e.message()));
        }

        ++lines;
        if (afterLine)
            afterLine(lines);
        source_.next();
    }
    for (Table* t : {&action, &major, &projects})
        t->checkBrowseMode();
    // The merged lines go in the same unit: the lines read under its lock, all at once.
    source_.deleteAll();
    tx.commit();
    report.lines = lines;
}

int EntryMerge::readAhead(NameLookup& lookup, int from, int count,
                          const std::array<const Field*, 3>& names) const {
    // Up to this many projects' major activities and actions at a time: about what the
    // record-sets keep of the ranges they leave.
    constexpr int Projects = 100;
    QList<std::array<QString, 3>> lines;
    QSet<QString> projects;
    int to = from;
    for (; to < count; ++to) {
        std::array<QString, 3> line;
        for (size_t i = 0; i < names.size(); ++i)
            line[i] = source_.valueAt(to, names[i]->index()).toString();
        if (!projects.contains(line[0])) {
            if (projects.size() == Projects)
                break;
            projects.insert(line[0]);
        }
        lines << line;
    }
    lookup.readAhead(lines);
    return to;
}

void EntryMerge::refreshViews() {
    for (Table* view : std::as_const(views_)) {
        if (view->isActive())
            view->refresh();
    }
}

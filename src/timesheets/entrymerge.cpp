#include "entrymerge.h"

#include "data/tdatamodule2.h"
#include "framework/dataset/databaseerror.h"
#include "framework/dataset/heldnotices.h"
#include "framework/dataset/transaction.h"
#include "namelookup.h"

#include <QDate>
#include <cmath>

using vok::Field;
using vok::Table;

namespace {

// Reads `count` ASCII digits at `at`; -1 when they are not all digits.
int digits(const QString& text, qsizetype at, int count) {
    if (at + count > text.size())
        return -1;
    int n = 0;
    for (int i = 0; i < count; ++i) {
        const char16_t c = text[at + i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        n = n * 10 + (c - u'0');
    }
    return n;
}

// A stored date: "yyyy-MM-dd", optionally followed by a time of day "THH:mm[:ss[.zzz]]" (or with
// a blank for the T), as the engine and other tools write them. Kept free of regular expressions:
// a merge checks two dates on every line.
bool isStoredDate(const QString& text) {
    if (text.size() < 10 || text[4] != u'-' || text[7] != u'-')
        return false;
    if (!QDate::isValid(digits(text, 0, 4), digits(text, 5, 2), digits(text, 8, 2)) ||
        digits(text, 0, 4) < 1)
        return false;
    if (text.size() == 10)
        return true;
    if ((text[10] != u'T' && text[10] != u' ') || text.size() < 16 || text[13] != u':')
        return false;
    const int hour = digits(text, 11, 2);
    const int minute = digits(text, 14, 2);
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59)
        return false;
    if (text.size() == 16)
        return true;
    if (text[16] != u':' || text.size() < 19 || digits(text, 17, 2) < 0 || digits(text, 17, 2) > 59)
        return false;
    if (text.size() == 19)
        return true;
    if (text[19] != u'.' || text.size() == 20)
        return false;
    return digits(text, 20, static_cast<int>(text.size() - 20)) >= 0 && text.size() <= 29;
}

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

EntryMerge::EntryMerge(TDataModule2& dm, Table& source, QString sourceName, Table& target,
                       EntryLayout layout, QList<Table*> views)
    : dm_(dm), source_(source), sourceName_(std::move(sourceName)), target_(target),
      layout_(std::move(layout)), views_(std::move(views)) {}

QString EntryMerge::unreadable(const Field& field, const QVariant& stored) {
    if (!stored.isValid() || stored.isNull())
        return {}; // empty reads as 0 or 30 December 1899
    const int type = stored.typeId();
    const bool number =
        type == QMetaType::LongLong || type == QMetaType::Int || type == QMetaType::Double;
    switch (field.type()) {
    case vok::FieldType::Float:
    case vok::FieldType::Currency: {
        double value = 0;
        if (number) {
            value = stored.toDouble();
        } else {
            // Read as the record-set reads it: a plain number, whatever the locale.
            bool ok = false;
            value = stored.toString().toDouble(&ok);
            if (!ok || !std::isfinite(value))
                return QStringLiteral("'%1' is not a number").arg(stored.toString());
        }
        if (!std::isfinite(value))
            return QStringLiteral("%1 is not a number").arg(value);
        if (std::abs(value) > Field::LargestNumber)
            return QStringLiteral("%1 is too large a number").arg(value);
        return {};
    }
    case vok::FieldType::Date:
    case vok::FieldType::DateTime:
        if (number)
            return QStringLiteral("%1 is not a date").arg(stored.toString());
        if (!isStoredDate(stored.toString()))
            return QStringLiteral("'%1' is not a date").arg(stored.toString());
        return {};
    default:
        return {};
    }
}

void EntryMerge::checkLines() const {
    const struct {
        const Field& field;
        QString caption;
    } columns[] = {{source_.fieldByName(layout_.dateFrom), QStringLiteral("Date from")},
                   {source_.fieldByName(layout_.dateTo), QStringLiteral("Date to")},
                   {source_.fieldByName(layout_.quantity), layout_.quantityCaption}};
    const int count = source_.recordCount();
    for (int row = 0; row < count; ++row) {
        for (const auto& c : columns) {
            const QString why = unreadable(c.field, source_.valueAt(row, c.field.index()));
            if (why.isEmpty())
                continue;
            throw vok::DatabaseError(QStringLiteral("%1, line %2, column \"%3\" (%4): %5.")
                                         .arg(sourceName_)
                                         .arg(row + 1)
                                         .arg(c.caption, c.field.name(), why),
                                     vok::DatabaseError::Kind::Convert);
        }
    }
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
    // Nothing of a source holding a value that would be read as 0 or 30 December 1899 is merged.
    checkLines();
    int lines = 0;
    source_.first();
    while (!source_.eof()) {
        const LineIds ids = lookup.resolve(lineProject.asString(), lineMajor.asString(),
                                           lineAction.asString(), report);
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
}

void EntryMerge::refreshViews() {
    for (Table* view : std::as_const(views_)) {
        if (view->isActive())
            view->refresh();
    }
}

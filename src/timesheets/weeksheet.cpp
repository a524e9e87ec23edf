#include "weeksheet.h"

#include "bookedhours.h"
#include "data/projectdata.h"
#include "framework/dataset/databaseerror.h"
#include "framework/dataset/shortdate.h"
#include "framework/dataset/table.h"
#include "framework/dataset/transaction.h"
#include "hourstext.h"

#include <algorithm>

namespace {

const QString projectField = QStringLiteral("MemberTS_project");
const QString majorField = QStringLiteral("MemberTS_Major");
const QString actionField = QStringLiteral("MemberTS_Action");
const QString fromField = QStringLiteral("MemberTS_Date_from");
const QString toField = QStringLiteral("MemberTS_Date_to");
const QString hoursField = QStringLiteral("MemberTS_Hours");
const QString notesField = QStringLiteral("MemberTS_Notes");

// Sums of typed hours: a day of exactly 24 is not refused over a rounding error.
constexpr double slack = 1e-9;

std::optional<QDate> readDate(const vok::Field& f) {
    try {
        return f.isNull() ? std::optional<QDate>() : f.asDate();
    } catch (const vok::DatabaseError&) {
        return {};
    }
}

} // namespace

WeekSheet::WeekSheet(ProjectData& dm) : dm_(dm) {}

QDate WeekSheet::mondayOf(const QDate& day) {
    return day.addDays(1 - day.dayOfWeek());
}

QList<WeekSheet::Line> WeekSheet::readLines() const {
    vok::Table& t = *dm_.MemberTS;
    QList<Line> lines;
    t.first();
    while (!t.eof()) {
        Line l;
        l.position = t.recNo();
        l.names = {t.fieldByName(projectField).asString(), t.fieldByName(majorField).asString(),
                   t.fieldByName(actionField).asString()};
        // A date that cannot be read puts the line in no week; the line window shows it.
        l.from = readDate(t.fieldByName(fromField)).value_or(QDate());
        l.to = readDate(t.fieldByName(toField)).value_or(QDate());
        try {
            l.hours = t.fieldByName(hoursField).asFloat();
        } catch (const vok::DatabaseError&) {
        }
        l.notes = t.fieldByName(notesField).asString();
        lines << l;
        t.next();
    }
    return lines;
}

QList<WeekSheet::Row> WeekSheet::rowsOf(const QDate& monday) const {
    const QDate sunday = monday.addDays(Days - 1);
    QList<Row> rows;
    const auto rowFor = [&rows](const Names& names, const std::function<bool(const Row&)>& fits) {
        for (Row& r : rows) {
            if (r.names == names && fits(r))
                return &r;
        }
        Row& r = rows.emplace_back();
        r.names = r.storedNames = names;
        return &r;
    };
    const auto anyRow = [](const Row&) { return true; };
    for (const Line& l : lines_) {
        if (!l.from.isValid() || !l.to.isValid())
            continue;
        const QDate first = std::min(l.from, l.to);
        const QDate last = std::max(l.from, l.to);
        if (first > sunday || last < monday)
            continue;
        const bool oneDay = first == last;
        if (oneDay && l.hours && l.notes.isEmpty()) {
            const int day = static_cast<int>(monday.daysTo(first));
            // The same names twice on one day: a second row, so that each line keeps its cell.
            Row* r = rowFor(l.names, [day](const Row& r) { return r.cells[day].line < 0; });
            r->cells[day] = {l.hours, l.hours, l.position};
            continue;
        }
        Kept k{l.from, l.to, l.hours.value_or(0), Kept::Why::SeveralDays, l.notes};
        if (!l.hours)
            k.why = Kept::Why::Unreadable;
        else if (!l.notes.isEmpty())
            k.why = Kept::Why::Notes;
        rowFor(l.names, anyRow)->kept << k;
    }
    for (const BookedHours::Booking& b : BookedHours::of(dm_, member_, monday, sunday))
        rowFor(b.names, anyRow)->kept << Kept{b.from, b.to, b.hours, Kept::Why::Booked, {}};
    return rows;
}

void WeekSheet::read(const QString& member, const QDate& day) {
    member_ = member;
    lines_ = readLines();
    monday_ = mondayOf(day);
    rows_ = rowsOf(monday_);
}

bool WeekSheet::isModified() const {
    const bool cellsChanged = std::any_of(rows_.cbegin(), rows_.cend(), [](const Row& r) {
        return std::any_of(r.cells.cbegin(), r.cells.cend(), [&r](const Cell& c) {
            return c.changed() || (c.line >= 0 && r.names != r.storedNames);
        });
    });
    return cellsChanged || !hourlessRows().isEmpty();
}

QStringList WeekSheet::hourlessRows() const {
    QStringList named;
    for (const Row& r : rows_) {
        const bool typed = r.names != r.storedNames && r.names != Names{};
        const bool anyCell = std::any_of(r.cells.cbegin(), r.cells.cend(),
                                         [](const Cell& c) { return c.hours || c.line >= 0; });
        if (typed && !anyCell && r.kept.isEmpty()) {
            QStringList names(r.names.cbegin(), r.names.cend());
            names.removeAll(QString());
            named << names.join(QStringLiteral(" / "));
        }
    }
    return named;
}

void WeekSheet::setName(int row, Level level, const QString& name) {
    if (row == rows_.size())
        rows_.emplace_back();
    Row& r = rows_[row];
    if (!r.keepsNames())
        r.names[level] = name;
}

double WeekSheet::othersOfDay(int row, int day) const {
    return dayTotal(day) - (row < rows_.size() ? rows_[row].cells[day].hours.value_or(0) : 0.0);
}

QString WeekSheet::refusal(int row, int day, std::optional<double> hours) const {
    if (!hours)
        return {};
    const double others = othersOfDay(row, day);
    if (others + *hours <= HoursText::DayHours + slack)
        return {};
    return QStringLiteral("With %1 hours here, %2 would hold %3 hours: a day has at most 24.")
        .arg(HoursText::shown(*hours), vok::ShortDate::format(monday_.addDays(day)),
             HoursText::shown(others + *hours));
}

bool WeekSheet::setHours(int row, int day, std::optional<double> hours) {
    if (!refusal(row, day, hours).isEmpty())
        return false;
    if (row == rows_.size())
        rows_.emplace_back();
    rows_[row].cells[day].hours = hours;
    return true;
}

double WeekSheet::dayTotal(int day) const {
    const QDate date = monday_.addDays(day);
    double sum = 0;
    for (const Row& r : rows_) {
        sum += r.cells[day].hours.value_or(0);
        for (const Kept& k : r.kept) {
            if (k.from == date && k.to == date)
                sum += k.hours;
        }
    }
    return sum;
}

double WeekSheet::rowTotal(int row) const {
    const Row& r = rows_[row];
    double sum = 0;
    for (const Cell& c : r.cells)
        sum += c.hours.value_or(0);
    for (const Kept& k : r.kept)
        sum += k.hours;
    return sum;
}

double WeekSheet::total() const {
    double sum = 0;
    for (int row = 0; row < rows_.size(); ++row)
        sum += rowTotal(row);
    return sum;
}

int WeekSheet::copyPreviousRows() {
    int added = 0;
    for (const Row& previous : rowsOf(monday_.addDays(-Days))) {
        const bool shown = std::any_of(rows_.cbegin(), rows_.cend(), [&previous](const Row& r) {
            return r.names == previous.names;
        });
        if (shown)
            continue;
        Row& r = rows_.emplace_back();
        r.names = r.storedNames = previous.names;
        ++added;
    }
    return added;
}

void WeekSheet::writeLine(const Names& names, std::optional<QDate> day, double hours) {
    vok::Table& t = *dm_.MemberTS;
    const QString* fields[] = {&projectField, &majorField, &actionField};
    for (int level = Project; level <= Action; ++level) {
        vok::Field& f = t.fieldByName(*fields[level]);
        if (names[level].isEmpty())
            f.clear();
        else
            f.setAsString(names[level]);
    }
    if (day) {
        t.fieldByName(fromField).setAsDate(*day);
        t.fieldByName(toField).setAsDate(*day);
    }
    t.fieldByName(hoursField).setAsFloat(hours);
    t.post();
}

void WeekSheet::store() {
    vok::Table& t = *dm_.MemberTS;
    {
        vok::Transaction tx(*dm_.store);
        // Read again under the unit's write lock: the positions the cells hold must still be
        // the lines they were read from.
        t.refresh();
        if (readLines() != lines_)
            throw vok::DatabaseError(
                QStringLiteral("%1 was changed elsewhere since this week was read, so nothing "
                               "was stored. Note what you typed, close the week without saving "
                               "and open it again.")
                    .arg(t.tableName()));
        QList<int> cleared;
        for (const Row& r : std::as_const(rows_)) {
            for (const Cell& c : r.cells) {
                if (c.line < 0)
                    continue;
                if (!c.hours) {
                    cleared << c.line;
                } else if (c.changed() || r.names != r.storedNames) {
                    t.moveTo(c.line);
                    t.edit();
                    writeLine(r.names, {}, *c.hours);
                }
            }
        }
        // From the last line up: a deletion moves the lines after it.
        std::sort(cleared.begin(), cleared.end(), std::greater<>());
        for (const int line : std::as_const(cleared)) {
            t.moveTo(line);
            t.deleteRecord();
        }
        for (const Row& r : std::as_const(rows_)) {
            for (int day = 0; day < Days; ++day) {
                const Cell& c = r.cells[day];
                if (c.line < 0 && c.hours) {
                    t.append();
                    writeLine(r.names, monday_.addDays(day), *c.hours);
                }
            }
        }
        tx.commit();
    }
    read(member_, monday_);
}

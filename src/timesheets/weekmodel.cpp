#include "weekmodel.h"

#include "framework/dataset/shortdate.h"
#include "hourstext.h"
#include "weeknames.h"
#include "weeksheet.h"

#include <QCoreApplication>
#include <QFont>
#include <QPalette>
#include <QRegularExpression>

namespace {

QString text(const char* english) {
    return QCoreApplication::translate("WeekEntryForm", english);
}

QString weekday(int day) {
    static const char* const names[] = {
        QT_TRANSLATE_NOOP("WeekEntryForm", "Mon"), QT_TRANSLATE_NOOP("WeekEntryForm", "Tue"),
        QT_TRANSLATE_NOOP("WeekEntryForm", "Wed"), QT_TRANSLATE_NOOP("WeekEntryForm", "Thu"),
        QT_TRANSLATE_NOOP("WeekEntryForm", "Fri"), QT_TRANSLATE_NOOP("WeekEntryForm", "Sat"),
        QT_TRANSLATE_NOOP("WeekEntryForm", "Sun")};
    return text(names[day]);
}

// The short date without its year, which the week's number shows: "MM/dd", "dd.MM".
QString dayAndMonth() {
    static const QRegularExpression year(QStringLiteral("^y+[^dM]*|[^dM]*y+$"));
    return vok::ShortDate::pattern().remove(year);
}

// A total of nothing is left blank, as an empty cell is.
QString hoursOrBlank(double hours) {
    return hours == 0 ? QString() : HoursText::shown(hours);
}

QString keptText(const WeekSheet::Kept& k) {
    using Why = WeekSheet::Kept::Why;
    QString why;
    switch (k.why) {
    case Why::SeveralDays:
        why = text("several days, kept as typed in Time Sheet Entry");
        break;
    case Why::Notes:
        why =
            text("with notes, kept as typed in Time Sheet Entry") + QStringLiteral(": ") + k.notes;
        break;
    case Why::Unreadable:
        why = text("hours that cannot be read, kept as they are");
        break;
    case Why::Booked:
        why = text("merged by Update Time Sheets");
        break;
    }
    const QString days = k.from == k.to ? vok::ShortDate::format(k.from)
                                        : vok::ShortDate::format(k.from) + QStringLiteral(" – ") +
                                              vok::ShortDate::format(k.to);
    return QStringLiteral("%1: %2 h, %3").arg(days, HoursText::shown(k.hours), why);
}

} // namespace

WeekModel::WeekModel(WeekSheet& sheet, const WeekNames& names, QObject* parent)
    : QAbstractTableModel(parent), sheet_(sheet), names_(names) {}

QColor WeekModel::warningColour() {
    return {0xb3, 0x59, 0x00}; // dark orange: not the tree's red, which means critical
}

int WeekModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(sheet_.rows().size()) + 2;
}

int WeekModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : TotalColumn + 1;
}

void WeekModel::reload() {
    beginResetModel();
    unfound_.clear();
    for (int row = 0; row < sheet_.rows().size(); ++row)
        check(row);
    endResetModel();
}

void WeekModel::retranslate() {
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, TotalColumn);
    const int totals = rowCount() - 1;
    Q_EMIT dataChanged(index(totals, 0), index(totals, TotalColumn));
}

void WeekModel::check(int row) {
    if (unfound_.size() <= row)
        unfound_.resize(row + 1);
    const WeekSheet::Names& names = sheet_.rows()[row].names;
    for (int level = WeekSheet::Project; level <= WeekSheet::Action; ++level)
        unfound_[row][level] = !names_.found(names, static_cast<WeekSheet::Level>(level));
}

QVariant WeekModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case ProjectColumn:
        return text("Project");
    case MajorColumn:
        return text("Major Activity");
    case ActionColumn:
        return text("Action");
    case TotalColumn:
        return text("Total");
    default:
        return QString(weekday(section - FirstDay) + QLatin1Char('\n') +
                       sheet_.monday().addDays(section - FirstDay).toString(dayAndMonth()));
    }
}

QVariant WeekModel::display(int row, int column) const {
    const int rows = static_cast<int>(sheet_.rows().size());
    if (isTotals(row)) {
        if (column == ProjectColumn)
            return text("Total");
        if (isDay(column))
            return hoursOrBlank(sheet_.dayTotal(column - FirstDay));
        return column == TotalColumn ? hoursOrBlank(sheet_.total()) : QString();
    }
    if (row == rows) // the new row
        return QString();
    const WeekSheet::Row& r = sheet_.rows()[row];
    if (column < FirstDay)
        return r.names[column];
    if (isDay(column)) {
        const std::optional<double> h = r.cells[column - FirstDay].hours;
        return h ? HoursText::shown(*h) : QString();
    }
    return hoursOrBlank(sheet_.rowTotal(row));
}

QString WeekModel::toolTip(int row, int column) const {
    if (row >= sheet_.rows().size())
        return {};
    const WeekSheet::Row& r = sheet_.rows()[row];
    if (column == TotalColumn) {
        QStringList lines;
        for (const WeekSheet::Kept& k : r.kept)
            lines << keptText(k);
        return lines.join(QLatin1Char('\n'));
    }
    if (column >= FirstDay)
        return {};
    if (unfound_[row][column]) {
        static const char* const why[] = {
            QT_TRANSLATE_NOOP("WeekEntryForm",
                              "No project of this name: Update Time Sheets books these hours on "
                              "no project."),
            QT_TRANSLATE_NOOP("WeekEntryForm",
                              "No major activity of this name in the project: Update Time Sheets "
                              "books these hours on the project only."),
            QT_TRANSLATE_NOOP("WeekEntryForm",
                              "No action of this name in the major activity: Update Time Sheets "
                              "books these hours on the major activity only.")};
        return text(why[column]);
    }
    if (r.keepsNames())
        return text("This row holds lines kept as they are: its names stay.");
    return {};
}

QVariant WeekModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int row = index.row();
    const int column = index.column();
    const bool totals = isTotals(row);
    const bool shownRow = row < sheet_.rows().size();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return display(row, column);
    case Qt::ToolTipRole:
        return toolTip(row, column);
    case Qt::ForegroundRole:
        if (shownRow && column < FirstDay && unfound_[row][column])
            return warningColour();
        return {};
    case Qt::FontRole: {
        QFont f;
        f.setBold(totals || column == TotalColumn);
        // A total that holds more than the cells shows it.
        f.setItalic(shownRow && column == TotalColumn && sheet_.rows()[row].keepsNames());
        return f;
    }
    case Qt::BackgroundRole:
        if (totals || column == TotalColumn)
            return QPalette().color(QPalette::AlternateBase).darker(104);
        if (column >= FirstDay + 5 && isDay(column)) // the weekend
            return QPalette().color(QPalette::AlternateBase);
        return {};
    case Qt::TextAlignmentRole:
        if (column >= FirstDay)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

Qt::ItemFlags WeekModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (isTotals(index.row()) || index.column() == TotalColumn)
        return Qt::ItemIsEnabled;
    const bool keepsNames =
        index.row() < sheet_.rows().size() && sheet_.rows()[index.row()].keepsNames();
    if (index.column() < FirstDay && keepsNames)
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QString WeekModel::refusal(const QModelIndex& index, const QString& text) const {
    if (!isDay(index.column()) || isTotals(index.row()))
        return {};
    if (text == display(index.row(), index.column()).toString())
        return {}; // left as shown
    const HoursText::Reading reading = HoursText::read(text);
    if (!reading.ok())
        return reading.refusal;
    return sheet_.refusal(index.row(), index.column() - FirstDay, reading.hours);
}

QStringList WeekModel::offered(const QModelIndex& index) const {
    if (index.column() >= FirstDay)
        return {};
    const WeekSheet::Names names =
        index.row() < sheet_.rows().size() ? sheet_.rows()[index.row()].names : WeekSheet::Names{};
    return names_.offered(names, static_cast<WeekSheet::Level>(index.column()));
}

bool WeekModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const int row = index.row();
    const int column = index.column();
    const QString typed = value.toString();
    if (typed == display(row, column).toString())
        return true; // nothing changed: a value shown rounded stays as stored
    if (!refusal(index, typed).isEmpty())
        return false;
    const int rows = static_cast<int>(sheet_.rows().size());
    const bool newRow = row == rows;
    if (newRow)
        beginInsertRows({}, rows + 1, rows + 1); // a new empty row below the one typed into
    if (column < FirstDay) {
        const auto level = static_cast<WeekSheet::Level>(column);
        const WeekSheet::Names names = newRow ? WeekSheet::Names{} : sheet_.rows()[row].names;
        sheet_.setName(row, level, names_.spelled(names, level, typed.trimmed()));
    } else {
        sheet_.setHours(row, column - FirstDay, HoursText::read(typed).hours);
    }
    check(row);
    if (newRow)
        endInsertRows();
    Q_EMIT dataChanged(this->index(row, 0), this->index(row, TotalColumn));
    const int totals = rowCount() - 1;
    Q_EMIT dataChanged(this->index(totals, 0), this->index(totals, TotalColumn));
    return true;
}

#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

class ProjectData;

// One member's hours of one ISO week, Monday to Sunday, as rows: a project, major activity and
// action, and a cell a day. Each day's cell is one line of the member's time sheet file, from
// and to that day; typing changes only this sheet, and store() writes what changed: a new cell
// appends its line, a changed cell updates it, a cleared cell deletes it.
//
// Lines the cells cannot stand for (several days, notes, hours that cannot be read) and the rows
// "Update Time Sheets" has booked already are kept: counted in their row's total, never
// rewritten. A row that holds kept lines keeps its names.
class WeekSheet {
public:
    static constexpr int Days = 7;
    enum Level { Project, Major, Action };
    using Names = std::array<QString, 3>;

    // A line or booked row shown in a total only.
    struct Kept {
        enum class Why { SeveralDays, Notes, Unreadable, Booked };
        QDate from;
        QDate to;
        double hours = 0;
        Why why = Why::SeveralDays;
        QString notes;
    };
    struct Cell {
        std::optional<double> hours;  // as shown
        std::optional<double> stored; // as the file holds it
        int line = -1;                // position of its line in the file; -1 when it has none
        bool changed() const { return hours != stored; }
    };
    struct Row {
        Names names;
        Names storedNames;
        std::array<Cell, Days> cells{};
        QList<Kept> kept;
        bool keepsNames() const { return !kept.isEmpty(); }
    };

    explicit WeekSheet(ProjectData& dm);

    static QDate mondayOf(const QDate& day);
    // Reads the week of that day of a member's file, which the data module's member file
    // record-set has open, and the rows booked for the member (by the name as listed); anything
    // not stored is dropped.
    void read(const QString& member, const QDate& day);
    const QString& member() const { return member_; }
    const QDate& monday() const { return monday_; }
    const QList<Row>& rows() const { return rows_; }

    // Whether something shown differs from the file: a cell, the names of a row with lines, or a
    // row named here that has no hours yet.
    bool isModified() const;
    // The rows named here that have neither hours nor lines: a row is stored as its day's lines,
    // so nothing of them can be. Their names, "project / major activity / action".
    QStringList hourlessRows() const;

    // `row` == rows().size() starts a row.
    void setName(int row, Level level, const QString& name);
    // Why the hours cannot be the day's cell: more than a day holds with the rest of that day;
    // empty when they can.
    QString refusal(int row, int day, std::optional<double> hours) const;
    // Sets the cell unless refused (see refusal()); false when refused.
    bool setHours(int row, int day, std::optional<double> hours);

    // Cells and kept lines of one day; a row's cells and kept lines; everything shown.
    double dayTotal(int day) const;
    double rowTotal(int row) const;
    double total() const;

    // Adds the rows of the week before (lines still in the file and booked rows), without hours,
    // that this week has not; returns how many.
    int copyPreviousRows();
    // Writes what changed in one unit of work and reads the week again. Refused, writing nothing,
    // when the file is no longer as read.
    void store();

private:
    struct Line {
        int position = -1;
        Names names;
        QDate from;
        QDate to;
        std::optional<double> hours; // empty when it cannot be read
        QString notes;
        bool operator==(const Line&) const = default;
    };
    QList<Line> readLines() const;
    // The rows a week shows of what the file and the bookings hold.
    QList<Row> rowsOf(const QDate& monday) const;
    double othersOfDay(int row, int day) const;
    void writeLine(const Names& names, std::optional<QDate> day, double hours);

    ProjectData& dm_;
    QString member_;
    QDate monday_;
    QList<Row> rows_;
    QList<Line> lines_; // the whole file as read
};

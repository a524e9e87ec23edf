#pragma once

#include <QAbstractTableModel>
#include <QDate>
#include <array>

class WeekNames;
class WeekSheet;

// The week as a table: project, major activity and action, a column a day headed with its
// weekday and date, and the row's total; below the rows a new empty row, then the day totals.
// Names that the update will not find show in the warning colour.
class WeekModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ProjectColumn, MajorColumn, ActionColumn, FirstDay, TotalColumn = FirstDay + 7 };

    WeekModel(WeekSheet& sheet, const WeekNames& names, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Takes a cell's text; false when it is refused (see refusal()).
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    static bool isDay(int column) { return column >= FirstDay && column < TotalColumn; }
    bool isTotals(int row) const { return row == rowCount() - 1; }
    // Why a text typed into a cell is refused: no hours of one day, or more than the day holds
    // with the rest of it. Empty when it is taken.
    QString refusal(const QModelIndex& index, const QString& text) const;
    // The names a name cell offers as it is typed.
    QStringList offered(const QModelIndex& index) const;

    // After the sheet was read again or grew rows of its own.
    void reload();
    // The headers in the interface language.
    void retranslate();

    static QColor warningColour();

private:
    QVariant display(int row, int column) const;
    QString toolTip(int row, int column) const;
    void check(int row);

    WeekSheet& sheet_;
    const WeekNames& names_;
    // Per row and level: the name will not be found by the update.
    QList<std::array<bool, 3>> unfound_;
};

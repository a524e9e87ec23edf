#pragma once

#include "tablerows.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

namespace vok {

class DataLink;
class Table;

// One column of a grid: a field, its title and width, and the texts offered for it.
struct GridColumn {
    QString field;
    QString title;
    int width = 64;
    QStringList pickList;
    bool readOnly = false;
};

// Adapts a record-set to Qt's item views: one row per record of the range (and the record being
// inserted), one column per grid column. Writes go through the grid's data link, so the grid
// does not hear of its own writes twice.
class TableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    TableModel(DataLink* link, QObject* parent);

    const TableRows& rows() const { return rows_; }
    int addColumn(const GridColumn& column);
    GridColumn& column(int index) { return columns_[index]; }
    const GridColumn& column(int index) const { return columns_[index]; }
    int fieldIndex(int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The record-set was reopened or its rows changed.
    void reload();
    // Values or the current row changed.
    void refresh();

private:
    DataLink* link_;
    TableRows rows_;
    QList<GridColumn> columns_;
};

} // namespace vok

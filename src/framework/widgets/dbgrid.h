#pragma once

#include "datalink.h"

#include <QStringList>
#include <QTableView>

namespace vok {

class Table;
class TableModel;

// A grid of the records of a record-set, edited in place. The cursor of the record-set and the
// grid's current row move together. Moving down past the last row (or Tab past its last cell)
// adds a new row, as does typing into the blank row of an empty grid; a new row left untouched is
// dropped when the focus leaves the grid, a changed row is stored then. Ctrl+Del deletes the
// current row (asking "Delete record?" when told to). Columns are resizable; a column may offer a
// pick list. The title row is white on teal.
class DBGrid : public QTableView {
    Q_OBJECT
public:
    explicit DBGrid(QWidget* parent = nullptr);

    void setDataSource(Table* table);
    Table* table() const;
    DataLink* dataLink() const { return link_; }
    TableModel* tableModel() const { return model_; }

    int addColumn(const QString& fieldName, const QString& title, int width);
    int columnCount() const;
    QString columnTitle(int column) const;
    void setColumnTitle(int column, const QString& title);
    QStringList pickList(int column) const;
    void setPickList(int column, const QStringList& items);
    void setColumnReadOnly(int column, bool readOnly);
    void setConfirmDelete(bool on) { confirmDelete_ = on; }
    // When first shown, columns wider together than the grid shrink in proportion so that every
    // title shows; the user can widen them again.
    void setFitColumnsWhenShown(bool on) { fitWhenShown_ = on; }
    void fitColumns();

    // Deletes the current row (Ctrl+Del).
    void deleteCurrent();

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void onChange(DataLink::Changes changes);

    void syncCurrent();
    bool moveToRow(int row);
    bool appendRow();
    bool isUntouchedNewRow() const;

    DataLink* link_;
    TableModel* model_;
    bool confirmDelete_ = false;
    bool fitWhenShown_ = false;
};

} // namespace vok

#pragma once

#include <QStyledItemDelegate>

namespace vok {

class TableModel;

// Cell editors of a grid: a drop-down of the column's pick list where it has one (the user may
// still type another text), a line edit otherwise. Up and Down move to another row, as they do
// outside an editor, unless the drop-down's list is open and takes them: a closed pick list
// never turns an arrow key into another choice.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    GridDelegate(const TableModel* model, QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* editor, QEvent* event) override;

private:
    const TableModel* model_;
};

} // namespace vok

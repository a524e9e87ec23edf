#pragma once

#include <QTableView>

class WeekDelegate;
class WeekModel;

// The week's table, typed into cell by cell: Tab and Backtab go from cell to cell that takes
// typing (past the totals and names that are kept), row after row; Delete clears a cell.
class WeekGrid : public QTableView {
    Q_OBJECT
public:
    explicit WeekGrid(QWidget* parent = nullptr);

    void setWeekModel(WeekModel* model);
    WeekModel* weekModel() const { return model_; }
    WeekDelegate* weekDelegate() const { return delegate_; }
    // Takes what the open editor holds; false when it is refused (see WeekDelegate).
    bool finishEditing();

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    WeekModel* model_ = nullptr;
    WeekDelegate* delegate_ = nullptr;
};

#include "weekgrid.h"

#include "framework/ui/guard.h"
#include "weekdelegate.h"
#include "weekmodel.h"

#include <QHeaderView>
#include <QKeyEvent>

WeekGrid::WeekGrid(QWidget* parent) : QTableView(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    // Not a click on the selected cell: that waits a double click's time before editing, and
    // keys typed meanwhile would be lost.
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed);
    setTabKeyNavigation(true);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    // The title row of Vok's grids: white on teal, here on two lines (weekday, date).
    horizontalHeader()->setStyleSheet(QStringLiteral(
        "QHeaderView::section { background-color: #008080; color: white; padding: 2px 4px;"
        " border: none; border-right: 1px solid #c0c0c0; border-bottom: 1px solid #c0c0c0; }"));
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
}

void WeekGrid::setWeekModel(WeekModel* model) {
    model_ = model;
    setModel(model);
    delegate_ = new WeekDelegate(model, this);
    setItemDelegate(delegate_);
    // The project takes the room left; the other names as much as usual names need; a day as
    // much as a week's total of hours.
    auto* header = horizontalHeader();
    header->setSectionResizeMode(WeekModel::ProjectColumn, QHeaderView::Stretch);
    for (int c = WeekModel::MajorColumn; c <= WeekModel::ActionColumn; ++c) {
        header->setSectionResizeMode(c, QHeaderView::Interactive);
        setColumnWidth(c, fontMetrics().averageCharWidth() * 24);
    }
    for (int c = WeekModel::FirstDay; c <= WeekModel::TotalColumn; ++c) {
        header->setSectionResizeMode(c, QHeaderView::Fixed);
        setColumnWidth(c, fontMetrics().horizontalAdvance(QStringLiteral("0000.00")) + 16);
    }
}

bool WeekGrid::finishEditing() {
    return !delegate_ || delegate_->finishEditing();
}

QModelIndex WeekGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex current = currentIndex();
    if (!model_ || !current.isValid() || (action != MoveNext && action != MovePrevious))
        return QTableView::moveCursor(action, modifiers);
    const int step = action == MoveNext ? 1 : -1;
    const int columns = model_->columnCount();
    int row = current.row();
    int column = current.column();
    for (;;) {
        column += step;
        if (column == columns) {
            column = 0;
            ++row;
        } else if (column < 0) {
            column = columns - 1;
            --row;
        }
        if (row < 0 || row >= model_->rowCount())
            return {}; // past the first or last cell: the focus leaves the grid
        const QModelIndex at = model_->index(row, column);
        if (at.flags() & Qt::ItemIsEditable)
            return at;
    }
}

void WeekGrid::keyPressEvent(QKeyEvent* event) {
    const QModelIndex current = currentIndex();
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier &&
        current.isValid() && state() != EditingState && (current.flags() & Qt::ItemIsEditable)) {
        vok::Guard::run([&] { model_->setData(current, QString()); });
        return;
    }
    QTableView::keyPressEvent(event);
}

void WeekGrid::mousePressEvent(QMouseEvent* event) {
    // A refused text waits in its cell: a click elsewhere in the grid says why first.
    if (!finishEditing())
        return;
    QTableView::mousePressEvent(event);
}

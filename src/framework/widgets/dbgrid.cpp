#include "dbgrid.h"

#include "datalink.h"
#include "framework/dataset/table.h"
#include "framework/ui/guard.h"
#include "framework/ui/messages.h"
#include "griddelegate.h"
#include "tablemodel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

namespace vok {

DBGrid::DBGrid(QWidget* parent)
    : QTableView(parent), link_(new DataLink(this)), model_(new TableModel(link_, this)) {
    setModel(model_);
    setItemDelegate(new GridDelegate(model_, this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setTabKeyNavigation(true);
    setShowGrid(true);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStyleSheet(QStringLiteral(
        "QHeaderView::section { background-color: #008080; color: white; padding: 2px 4px;"
        " border: none; border-right: 1px solid #c0c0c0; border-bottom: 1px solid #c0c0c0; }"));
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setMinimumWidth(14);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    link_->onChange = [this](DataLink::Changes changes) { onChange(changes); };
    link_->setStoreOnLeave(true);
}

void DBGrid::setDataSource(Table* table) {
    link_->setTable(table);
    link_->deliver();
}

Table* DBGrid::table() const {
    return link_->table();
}

int DBGrid::addColumn(const QString& fieldName, const QString& title, int width) {
    GridColumn c;
    c.field = fieldName;
    c.title = title;
    c.width = width;
    const int at = model_->addColumn(c);
    setColumnWidth(at, width);
    return at;
}

int DBGrid::columnCount() const {
    return model_->columnCount();
}
QString DBGrid::columnTitle(int column) const {
    return model_->column(column).title;
}

void DBGrid::setColumnTitle(int column, const QString& title) {
    model_->column(column).title = title;
    Q_EMIT model_->headerDataChanged(Qt::Horizontal, column, column);
}

QStringList DBGrid::pickList(int column) const {
    return model_->column(column).pickList;
}
void DBGrid::setPickList(int column, const QStringList& items) {
    model_->column(column).pickList = items;
}
void DBGrid::setColumnReadOnly(int column, bool readOnly) {
    model_->column(column).readOnly = readOnly;
}

void DBGrid::onChange(DataLink::Changes changes) {
    if (changes & (DataLink::RowsChanged | DataLink::StateChanged)) {
        const int column = currentIndex().isValid() ? currentIndex().column() : 0;
        model_->reload();
        const int row = model_->rows().currentRow();
        if (row >= 0)
            setCurrentIndex(model_->index(row, column));
        else if (model_->rowCount() > 0) // the blank row of an empty range: typing there starts
            selectionModel()->setCurrentIndex(model_->index(0, column), // the first record
                                              QItemSelectionModel::NoUpdate);
    } else {
        model_->refresh();
    }
    syncCurrent();
}

void DBGrid::syncCurrent() {
    const int row = model_->rows().currentRow();
    const QModelIndex cur = currentIndex();
    if (row < 0 || (cur.isValid() && cur.row() == row))
        return;
    setCurrentIndex(model_->index(row, cur.isValid() ? cur.column() : 0));
}

bool DBGrid::moveToRow(int row) {
    Table* t = link_->table();
    const TableRows& rows = model_->rows();
    if (!t || row < 0 || row >= rows.count() || row == rows.currentRow())
        return true;
    const int record = rows.recordIndex(row);
    if (record < 0)
        return true;
    return Guard::run([&] { t->moveTo(record); });
}

bool DBGrid::isUntouchedNewRow() const {
    const Table* t = link_->table();
    return t && t->state() == Table::State::Insert && !t->isModified();
}

bool DBGrid::appendRow() {
    Table* t = link_->table();
    if (!t || !t->isActive() || isUntouchedNewRow())
        return false;
    return Guard::run([&] { t->append(); });
}

QModelIndex DBGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex cur = currentIndex();
    const TableRows& rows = model_->rows();
    const bool lastRow = !cur.isValid() || cur.row() == rows.count() - 1;
    const bool lastColumn = cur.isValid() && cur.column() == model_->columnCount() - 1;
    if (lastRow && (action == MoveDown || (action == MoveNext && lastColumn))) {
        // Past the last row: a new one, unless the last is a new row still untouched.
        if (!appendRow())
            return action == MoveNext ? QModelIndex() : cur;
        return model_->index(rows.currentRow(),
                             action == MoveNext || !cur.isValid() ? 0 : cur.column());
    }
    const QModelIndex target = QTableView::moveCursor(action, modifiers);
    if (!target.isValid() || !cur.isValid() || target.row() == cur.row())
        return target;
    if (!moveToRow(target.row()))
        return cur;
    return model_->index(rows.currentRow(), target.column());
}

void DBGrid::deleteCurrent() {
    Table* t = link_->table();
    if (!t || !t->isActive())
        return;
    if (confirmDelete_ && !Messages::confirm(QStringLiteral("Delete record?")))
        return;
    Guard::run([&] { t->deleteRecord(); });
}

void DBGrid::keyPressEvent(QKeyEvent* event) {
    Table* t = link_->table();
    if (event->key() == Qt::Key_Delete && (event->modifiers() & Qt::ControlModifier)) {
        deleteCurrent();
        return;
    }
    if (event->key() == Qt::Key_Insert && event->modifiers() == Qt::NoModifier && t &&
        t->isActive()) {
        Guard::run([&] { t->insert(); });
        return;
    }
    if (event->key() == Qt::Key_Escape && t && t->isEditing()) {
        t->cancel();
        return;
    }
    QTableView::keyPressEvent(event);
}

void DBGrid::mousePressEvent(QMouseEvent* event) {
    const QModelIndex hit = indexAt(event->position().toPoint());
    // The blank row of an empty range is a row like any other: clicking it makes it current, so
    // that typing or a double click there starts the first record.
    if (hit.isValid() && model_->rows().count() > 0 && hit.row() != model_->rows().currentRow()) {
        const QModelIndex before = model_->index(hit.row(), hit.column());
        if (!moveToRow(hit.row()))
            return;
        // A dropped new row above shifts the rows: the click lands where the record now is.
        if (model_->rows().currentRow() != before.row()) {
            setCurrentIndex(model_->index(model_->rows().currentRow(), hit.column()));
            return;
        }
    }
    QTableView::mousePressEvent(event);
}

void DBGrid::fitColumns() {
    const int room = viewport()->width();
    int total = 0;
    for (int c = 0; c < model_->columnCount(); ++c)
        total += model_->column(c).width;
    if (total <= room || total <= 0)
        return;
    for (int c = 0; c < model_->columnCount(); ++c)
        setColumnWidth(c, model_->column(c).width * room / total);
}

void DBGrid::showEvent(QShowEvent* event) {
    QTableView::showEvent(event);
    if (fitWhenShown_) {
        fitWhenShown_ = false;
        fitColumns();
    }
}

} // namespace vok

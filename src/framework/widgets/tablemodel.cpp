#include "tablemodel.h"

#include "datalink.h"
#include "framework/dataset/field.h"
#include "framework/dataset/table.h"
#include "framework/ui/guard.h"

namespace vok {

TableModel::TableModel(DataLink* link, QObject* parent)
    : QAbstractTableModel(parent), link_(link) {}

int TableModel::addColumn(const GridColumn& column) {
    const int at = static_cast<int>(columns_.size());
    beginInsertColumns({}, at, at);
    columns_ << column;
    endInsertColumns();
    return at;
}

int TableModel::fieldIndex(int column) const {
    const Table* t = link_->table();
    if (!t || column < 0 || column >= columns_.size())
        return -1;
    const Field* f = t->findField(columns_[column].field);
    return f ? f->index() : -1;
}

int TableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    // An empty range shows one blank row: typing into it starts the first record.
    const int n = rows_.count();
    return n == 0 && link_->isActive() ? 1 : n;
}

int TableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant TableModel::data(const QModelIndex& index, int role) const {
    const int f = fieldIndex(index.column());
    if (f < 0 || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return role == Qt::EditRole ? rows_.editText(index.row(), f) : rows_.text(index.row(), f);
}

bool TableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    Table* t = link_->table();
    const int f = fieldIndex(index.column());
    if (role != Qt::EditRole || f < 0 || !t || !t->isActive())
        return false;
    const QString text = value.toString();
    // Leaving a cell unchanged does not start an edit.
    if (!t->isEditing() && text == rows_.editText(index.row(), f))
        return true;
    const bool ok = Guard::run([&] {
        if (index.row() != rows_.currentRow() && !rows_.isInsertRow(index.row()))
            t->moveTo(rows_.recordIndex(index.row()));
        link_->write([&] { t->field(f).setAsString(text); });
    });
    refresh();
    return ok;
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    const Table* t = link_->table();
    const int f = fieldIndex(index.column());
    if (t && f >= 0 && !columns_[index.column()].readOnly && !t->field(f).isReadOnly() &&
        !t->field(f).isCalculated())
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section < columns_.size() ? columns_[section].title : QString();
    // The record indicator: the current record, being edited, being inserted.
    const Table* t = link_->table();
    if (!t || section != rows_.currentRow())
        return QString();
    switch (t->state()) {
    case Table::State::Insert:
        return QStringLiteral("*");
    case Table::State::Edit:
        return QStringLiteral("I");
    default:
        return QStringLiteral("\u25B6");
    }
}

void TableModel::reload() {
    beginResetModel();
    rows_.setTable(link_->table());
    endResetModel();
}

void TableModel::refresh() {
    const int n = rowCount();
    if (n > 0 && !columns_.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(n - 1, static_cast<int>(columns_.size()) - 1));
    Q_EMIT headerDataChanged(Qt::Vertical, 0, std::max(0, n - 1));
}

} // namespace vok

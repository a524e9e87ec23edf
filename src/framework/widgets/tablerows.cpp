#include "tablerows.h"

#include "framework/dataset/field.h"
#include "framework/dataset/table.h"

namespace vok {

int TableRows::insertPosition() const {
    if (!table_ || table_->state() != Table::State::Insert)
        return -1;
    const int records = table_->recordCount();
    const int at = table_->insertRow();
    // A record appended before the range was read stands at its end.
    return at < 0 || at > records ? records : at;
}

int TableRows::count() const {
    if (!table_ || !table_->isActive())
        return 0;
    return table_->recordCount() + (insertPosition() >= 0 ? 1 : 0);
}

int TableRows::currentRow() const {
    if (!table_ || !table_->isActive())
        return -1;
    if (const int at = insertPosition(); at >= 0)
        return at;
    return table_->isEmpty() ? -1 : table_->recNo();
}

bool TableRows::isInsertRow(int row) const {
    return row >= 0 && row == insertPosition();
}

int TableRows::recordIndex(int row) const {
    const int at = insertPosition();
    if (at < 0 || row < at)
        return row;
    return row == at ? -1 : row - 1;
}

QVariant TableRows::value(int row, int fieldIndex) const {
    if (!table_ || row < 0 || row >= count())
        return {};
    if (isInsertRow(row))
        return table_->field(fieldIndex).value();
    return table_->field(fieldIndex).typed(table_->valueAt(recordIndex(row), fieldIndex));
}

QString TableRows::text(int row, int fieldIndex) const {
    if (!table_ || row < 0 || row >= count())
        return {};
    const Field& f = table_->field(fieldIndex);
    if (isInsertRow(row))
        return f.displayText();
    return f.displayTextOf(table_->valueAt(recordIndex(row), fieldIndex));
}

QString TableRows::editText(int row, int fieldIndex) const {
    if (!table_ || row < 0 || row >= count())
        return {};
    const Field& f = table_->field(fieldIndex);
    if (isInsertRow(row))
        return f.editText();
    return f.textOf(table_->valueAt(recordIndex(row), fieldIndex));
}

QStringList TableRows::fieldTexts(const Table* table, const QString& fieldName) {
    QStringList out;
    const Field* f = table ? table->findField(fieldName) : nullptr;
    if (!f || !table->isActive())
        return out;
    const int n = table->recordCount();
    out.reserve(n);
    for (int row = 0; row < n; ++row)
        out << f->textOf(table->valueAt(row, f->index()));
    return out;
}

} // namespace vok

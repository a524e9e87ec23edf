#include "griddelegate.h"

#include "tablemodel.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace vok {

GridDelegate::GridDelegate(const TableModel* model, QObject* parent)
    : QStyledItemDelegate(parent), model_(model) {}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    const QStringList& picks = model_->column(index.column()).pickList;
    if (picks.isEmpty())
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(picks);
    return box;
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const QString text = index.data(Qt::EditRole).toString();
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        box->setCurrentIndex(box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
        box->setEditText(text);
        return;
    }
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setText(text);
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

bool GridDelegate::eventFilter(QObject* editor, QEvent* event) {
    auto* grid = qobject_cast<QAbstractItemView*>(parent());
    if (event->type() == QEvent::KeyPress && grid) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool arrow = key->key() == Qt::Key_Up || key->key() == Qt::Key_Down;
        const auto* box = qobject_cast<QComboBox*>(editor);
        if (arrow && !(key->modifiers() & Qt::AltModifier) && !(box && box->view()->isVisible())) {
            // The cell's text goes into its record first, then the grid moves (storing it).
            auto* w = static_cast<QWidget*>(editor);
            Q_EMIT commitData(w);
            QKeyEvent again(QEvent::KeyPress, key->key(), key->modifiers());
            QCoreApplication::sendEvent(grid, &again);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(editor, event);
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                const QModelIndex& index) const {
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        model->setData(index, box->currentText(), Qt::EditRole);
        return;
    }
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        model->setData(index, line->text(), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

} // namespace vok

#include "weekdelegate.h"

#include "framework/ui/messages.h"
#include "weekmodel.h"

#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

// As long as the member file's name fields.
constexpr int nameLength = 100;

} // namespace

WeekDelegate::WeekDelegate(WeekModel* model, QObject* parent)
    : QStyledItemDelegate(parent), model_(model) {}

QWidget* WeekDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                    const QModelIndex& index) const {
    auto* edit = new QLineEdit(parent);
    edit->setFrame(false);
    if (WeekModel::isDay(index.column())) {
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    } else {
        edit->setMaxLength(nameLength);
        // Completed in place, the rest of the name selected: typing on narrows it, Up and Down
        // go through the others, Enter or Tab takes it.
        auto* completer = new QCompleter(model_->offered(index), edit);
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        completer->setCompletionMode(QCompleter::InlineCompletion);
        edit->setCompleter(completer);
    }
    editor_ = edit;
    index_ = index;
    return edit;
}

void WeekDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const {
    if (editor == editor_) {
        editor_ = nullptr;
        index_ = QPersistentModelIndex();
    }
    QStyledItemDelegate::destroyEditor(editor, index);
}

void WeekDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        edit->setText(index.data(Qt::EditRole).toString());
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void WeekDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                const QModelIndex& index) const {
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        model->setData(index, edit->text(), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

QString WeekDelegate::refusal() const {
    if (!editor_ || !index_.isValid())
        return {};
    return model_->refusal(index_, editor_->text());
}

void WeekDelegate::showRefusal(const QString& why) {
    vok::Messages::show(
        {vok::Messages::Icon::Warning, vok::Messages::applicationTitle(), why, QMessageBox::Ok});
    if (editor_) {
        editor_->setFocus(Qt::OtherFocusReason);
        editor_->selectAll();
    }
}

bool WeekDelegate::finishEditing() {
    if (!editor_)
        return true;
    if (const QString why = refusal(); !why.isEmpty()) {
        showRefusal(why);
        return false;
    }
    QLineEdit* edit = editor_;
    Q_EMIT commitData(edit);
    Q_EMIT closeEditor(edit, QAbstractItemDelegate::NoHint);
    return true;
}

bool WeekDelegate::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editor_) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            const bool leaves = key == Qt::Key_Tab || key == Qt::Key_Backtab ||
                                key == Qt::Key_Return || key == Qt::Key_Enter;
            if (leaves) {
                if (const QString why = refusal(); !why.isEmpty()) {
                    showRefusal(why);
                    return true;
                }
            }
        } else if (event->type() == QEvent::FocusOut && !refusal().isEmpty()) {
            // Kept open with what was typed; the next command or click in the grid says why.
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(watched, event);
}

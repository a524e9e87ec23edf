#pragma once

#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyledItemDelegate>

class QLineEdit;
class WeekModel;

// The week's cell editors: a line edit that completes a name from the names offered as it is
// typed (Enter or Tab takes it), or takes hours. Hours that are refused stay in the cell with a
// message: Tab, Enter, a click elsewhere in the grid and the window's commands wait until they
// are mended or undone with Escape.
class WeekDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    WeekDelegate(WeekModel* model, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

    // Takes what the open editor holds into the week; false, with the refusal shown and the
    // editor keeping the text, when it is refused. True when no editor is open.
    bool finishEditing();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The refusal of the open editor's text; empty when it is taken.
    QString refusal() const;
    void showRefusal(const QString& why);

    WeekModel* model_;
    mutable QPointer<QLineEdit> editor_;
    mutable QPersistentModelIndex index_;
};

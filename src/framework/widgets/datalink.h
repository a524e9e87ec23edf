#pragma once

#include "framework/dataset/table.h"

#include <QFlags>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QFocusEvent;
class QWidget;

namespace vok {

class Field;

// Ties a control to a record-set, and to one of its fields where the control shows one. The
// control hears of every change of the record-set (another record, other rows, another state, a
// field set elsewhere): at once while it is visible, when it is next shown otherwise. So a change
// made anywhere shows without reopening anything, and controls on hidden pages read nothing.
class DataLink : public QObject {
    Q_OBJECT
public:
    enum Change { RecordChanged = 1, RowsChanged = 2, StateChanged = 4 };
    Q_DECLARE_FLAGS(Changes, Change)

    // The link belongs to the control.
    explicit DataLink(QWidget* control);

    void setTable(Table* table);
    Table* table() const { return table_; }
    // Empty: the control follows the whole record-set (grids, lists), every field included.
    void setFieldName(const QString& name);
    const QString& fieldName() const { return fieldName_; }
    // The bound field, or null when there is no record-set or no such field.
    Field* field() const;
    bool isActive() const;
    // Whether the control may write its field: the record-set is open and the field is stored
    // and writable.
    bool canModify() const;

    // Puts the record-set into edit state (editing an empty view starts a new record), then runs
    // `assign`, which writes fields. The control is not told of the changes its own write makes.
    void write(const std::function<void()>& assign);
    void edit() { write({}); }

    // Called with what changed, when the control is (or becomes) visible.
    std::function<void(Changes)> onChange;
    // Delivers what is pending now, visible or not.
    void deliver();

    // Whether leaving the control stores a changed record and drops a new record left untouched
    // (grids and lists of records).
    void setStoreOnLeave(bool on) { storeOnLeave_ = on; }
    // While this answers true, leaving the control is not reported (a text it cannot store).
    std::function<bool()> holdExit;

    // Whether a focus loss means the user left the control (not a popup of its own, not another
    // window taking the focus for a while).
    static bool leavesControl(const QFocusEvent* event);

Q_SIGNALS:
    // The focus went from the control (or a child of it) to another control of its window.
    void exited();

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void notify(Changes changes);
    void onFieldChanged(int index);
    void onFocusChanged(QWidget* old, QWidget* now);

    QWidget* control_;
    QPointer<Table> table_;
    QString fieldName_;
    Changes pending_;
    int quiet_ = 0;
    bool storeOnLeave_ = false;
    QList<QMetaObject::Connection> connections_;
};

} // namespace vok

Q_DECLARE_OPERATORS_FOR_FLAGS(vok::DataLink::Changes)

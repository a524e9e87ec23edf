#pragma once

#include "datalink.h"
#include "dbctrlgridpanel.h"
#include "tablerows.h"

#include <QFrame>
#include <QList>
#include <functional>

class QGridLayout;
class QScrollBar;

namespace vok {

class Table;

// A control grid: a list of panels, one per record of a record-set, so many across and down at
// a time with a scroll bar for the rest. Clicking a panel (or entering its memo) makes its record
// current. Where it is editable, the memo of a panel writes its field at once; Tab goes on to the
// next record and past the last one starts a new record, Ctrl+Del deletes the current record, and
// leaving the grid stores a changed record and drops a new one left untouched.
class DBCtrlGrid : public QFrame {
    Q_OBJECT
public:
    explicit DBCtrlGrid(QWidget* parent = nullptr);

    void setDataSource(Table* table);
    Table* table() const;
    DataLink* dataLink() const { return link_; }
    // The panels' content; set before the grid size.
    void setDesign(const CtrlGridDesign& design);
    const CtrlGridDesign& design() const { return design_; }
    // Changes the caption of a line in every panel.
    void setLineCaption(int line, const QString& caption);
    // Panels across and down.
    void setPanelGrid(int columns, int rows);
    // A fixed panel size (otherwise the panels share the grid's room).
    void setPanelSize(const QSize& size);
    void setEditable(bool on);
    bool isEditable() const { return editable_; }
    // The name assistive tools give the grid and each panel's memo: a caption shown elsewhere (the
    // tab the grid fills), read again when they show or take the focus.
    void setAccessibleCaption(std::function<QString()> caption);

    int panelCount() const { return static_cast<int>(panels_.size()); }
    DBCtrlGridPanel* panel(int slot) const { return panels_.value(slot); }
    // The panel showing the current record, if it is in view.
    DBCtrlGridPanel* currentPanel() const;
    int firstRow() const { return top_ * columns_; }
    int rowCount() const { return rows_.count(); }

    void deleteCurrent();
    // Moves to the next record, starting a new one past the last (editable grids only).
    bool nextRecord();
    bool priorRecord();

Q_SIGNALS:
    // A double click on a panel, after its record became current.
    void panelDoubleClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void rebuild();
    void refresh();
    void keepCurrentInView();
    void selectSlot(int slot);
    int slotOf(QObject* watched) const;
    void onMemoEdited(int slot, const QString& text);

    DataLink* link_;
    TableRows rows_;
    CtrlGridDesign design_;
    QGridLayout* grid_;
    QScrollBar* scroll_;
    QList<DBCtrlGridPanel*> panels_;
    int columns_ = 1;
    int rowsDown_ = 1;
    int top_ = 0; // first panel row in view
    QSize panelSize_;
    bool editable_ = false;
    std::function<QString()> accessibleCaption_;
};

} // namespace vok

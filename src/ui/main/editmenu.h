#pragma once

#include <QObject>
#include <QString>
#include <array>

class ChangeHistory;
class DetailPage;
class QAction;
class QMainWindow;
class QMenu;
class QWidget;
class TreeController;
struct ChangeStep;

// The "Edit" menu of the main window: Undo and Redo, named for the step they take back or do
// again ("Undo typing in Client"), on the desktop's standard keys wherever the focus is in the
// window; and Find, which opens the filter field above the tree. Text typed into a field and not
// stored yet is undone by the field itself; the window's undo takes over once it is stored (and
// stores what a check box or a list changed before it undoes).
class EditMenu : public QObject {
    Q_OBJECT
public:
    // Adds the menu to the window's menu bar, before the bar's item `before` (null: last).
    EditMenu(QMainWindow* window, QAction* before);

    void setTree(TreeController* tree, const std::array<DetailPage*, 3>& pages);
    void setHistory(ChangeHistory* history);
    // While a record is being added, the history waits for Ok or Cancel.
    void setBusy(bool busy);

    // A step as the menu names it: "typing in Client", "delete of major activity 'Build'", in
    // the interface language (`translated`), or in English as the system's messages are.
    QString nameOf(const ChangeStep& step, bool translated = true) const;

    QMenu* menu;
    QAction* undoAction;
    QAction* redoAction;
    QAction* findAction;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void replay(bool undo);
    void updateActions();
    // Whether the key belongs to the focused control: a text typed and not stored yet, or a text
    // that is no field of a record (the find field, a cell being typed).
    static bool ownedByControl(QWidget* focus, bool undo);
    // The caption of a record tab's field, and whether it is typed (a line, a text, a date or a
    // number) rather than chosen (a check box, a list).
    QString fieldCaption(int level, const QString& field, bool translated, bool* typed) const;

    QMainWindow* window_;
    TreeController* tree_ = nullptr;
    std::array<DetailPage*, 3> pages_{};
    ChangeHistory* history_ = nullptr;
    bool busy_ = false;
};

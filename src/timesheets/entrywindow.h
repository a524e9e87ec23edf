#pragma once

#include "entrymerge.h"
#include "framework/widgets/dbnavigator.h"

#include <QDialog>

class QLabel;
class QPushButton;
class ProjectData;
namespace vok {
class DBDateEdit;
class DBEdit;
class DBLookupComboBox;
class DBMemo;
class Table;
} // namespace vok

// A window in which entry lines are typed: the project, major activity and action picked from the
// shared record-sets, two dates, a quantity and notes, with a navigator and "Close". The entry
// controls can be typed in only after Insert or Edit, and are locked again by every other button.
class EntryWindow : public QDialog {
    Q_OBJECT
public:
    // Only the line fields of the layout and its quantity caption are used.
    EntryWindow(ProjectData* dm, vok::Table* entries, const EntryLayout& fields,
                QWidget* parent = nullptr);

    QLabel* Label1; // "Project"
    QLabel* Label2; // "Major Activity"
    QLabel* Label4; // "Action"
    QLabel* Label3; // "Date from"
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    vok::DBLookupComboBox* DBLookupComboBox2;
    vok::DBLookupComboBox* DBLookupComboBox3;
    vok::DBLookupComboBox* DBLookupComboBox4;
    vok::DBDateEdit* DBEdit1;
    vok::DBDateEdit* DBEdit2;
    vok::DBEdit* DBEdit3;
    vok::DBMemo* DBMemo1;
    vok::DBNavigator* DBNavigator1;
    QPushButton* Button1;

public Q_SLOTS:
    // At activation: opens the entry file with the controls locked, unless it is open already
    // (a window activated again keeps its state).
    void FormActivate();
    // Called after a navigator button has acted.
    void DBNavigator1Click(vok::DBNavigator::Button button);
    virtual void Button1Click() = 0;

protected:
    // Enables or disables every entry control of the window (lists, edits, memos, check boxes,
    // radio buttons); the navigator and "Close" stay usable.
    void setEntryControlsEnabled(bool on);
    vok::Table* entries() const { return entries_; }
    bool event(QEvent* e) override;

private:
    vok::Table* entries_;
};

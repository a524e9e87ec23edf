#pragma once

#include "entrymerge.h"
#include "framework/widgets/dbnavigator.h"

#include <QDialog>
#include <functional>

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
// Escape (or the title bar's close) with a line typed and not stored asks first: Save, Discard or
// Cancel.
class EntryWindow : public QDialog {
    Q_OBJECT
public:
    // Only the line fields of the layout and its quantity caption are used.
    EntryWindow(ProjectData* dm, vok::Table* entries, const EntryLayout& fields,
                QWidget* parent = nullptr);

    // Object names, which the captions and the accessibility bus address, after each.
    QLabel* projectLabel;               // Label1, "Project"
    QLabel* majorLabel;                 // Label2, "Major Activity"
    QLabel* actionLabel;                // Label4, "Action"
    QLabel* fromLabel;                  // Label3, "Date from"
    QLabel* toLabel;                    // Label5, "Date to"
    QLabel* quantityLabel;              // Label6, the layout's quantity caption
    QLabel* notesLabel;                 // Label7, "Notes"
    vok::DBLookupComboBox* projectList; // DBLookupComboBox2
    vok::DBLookupComboBox* majorList;   // DBLookupComboBox3
    vok::DBLookupComboBox* actionList;  // DBLookupComboBox4
    vok::DBDateEdit* fromEdit;          // DBEdit1
    vok::DBDateEdit* toEdit;            // DBEdit2
    vok::DBEdit* quantityEdit;          // DBEdit3
    vok::DBMemo* notesMemo;             // DBMemo1
    vok::DBNavigator* navigator;        // DBNavigator1
    QPushButton* closeButton;           // Button1, "Close"

public Q_SLOTS:
    // At activation: opens the entry file with the controls locked, unless it is open already
    // (a window activated again keeps its state).
    void FormActivate();
    // Called after a navigator button has acted.
    void navigatorClicked(vok::DBNavigator::Button button);
    virtual void closeWindow() = 0;
    // Escape and the title bar: asks about a line not stored before the window closes.
    void reject() override;

public:
    // The question every entry window asks before it closes with a line typed into `lines` and
    // not stored: Save (`save` stores it; false when it could not be, and the window stays),
    // Discard (dropped) or Cancel (the window stays). True when the window may close. A refused
    // text waiting in a control of `window` counts as typed.
    static bool mayCloseWithLine(QWidget* window, vok::Table& lines,
                                 const std::function<bool()>& save);

protected:
    // Enables or disables every entry control of the window (lists, edits, memos, check boxes,
    // radio buttons); the navigator and "Close" stay usable.
    void setEntryControlsEnabled(bool on);
    vok::Table* entries() const { return entries_; }
    bool event(QEvent* e) override;

private:
    vok::Table* entries_;
};

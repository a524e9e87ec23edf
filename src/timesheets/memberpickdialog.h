#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class ProjectData;
class TimeSheetEntryWindow;
class WeekEntryWindow;

// "Select a Member": the member whose time sheet is opened in the entry window or the week window.
// The member's file is created in the data folder on first use; a name that cannot safely name a
// file there is refused and nothing is created. One window at a time works on a member's file:
// while one has it, here or in another installation, the other is refused with a message.
class MemberPickDialog : public QDialog {
    Q_OBJECT
public:
    MemberPickDialog(ProjectData* dm, TimeSheetEntryWindow* entryWindow, QWidget* parent = nullptr);

    // Runs the menu item "Time Sheets" > "Time Sheet Entry".
    void connectMenu(QAction* item);
    // Runs "Time Sheets" > "Week Entry": the same choice, then the week window.
    void connectWeekMenu(QAction* item, WeekEntryWindow* weekWindow);

    QLabel* memberLabel; // Label1, "Member name"
    QComboBox* MemberName;
    QPushButton* okButton;     // Button1
    QPushButton* cancelButton; // Button2

public Q_SLOTS:
    // The menu item: offers the members' names, none chosen, and shows the window. Ok then
    // opens the line-by-line entry window, or the week window when `week` is set.
    void openFromMenu(bool week = false);
    // "Ok"
    void okClicked();
    // "Cancel"
    void cancelClicked();

private:
    void openMember();

    ProjectData* dm_;
    TimeSheetEntryWindow* entryWindow_;
    WeekEntryWindow* weekWindow_ = nullptr;
    bool week_ = false; // the week window was asked for
};

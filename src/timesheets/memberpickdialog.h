#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class ProjectData;
class TimeSheetEntryWindow;

// "Select a Member": the member whose time sheet is opened in the entry window. The member's file
// is created in the data folder on first use; a name that cannot safely name a file there is
// refused and nothing is created.
class MemberPickDialog : public QDialog {
    Q_OBJECT
public:
    MemberPickDialog(ProjectData* dm, TimeSheetEntryWindow* entryWindow, QWidget* parent = nullptr);

    // Runs the menu item "Time Sheets" > "Time Sheet Entry".
    void connectMenu(QAction* item);

    QLabel* memberLabel; // Label1, "Member name"
    QComboBox* MemberName;
    QPushButton* okButton;     // Button1
    QPushButton* cancelButton; // Button2

public Q_SLOTS:
    // The menu item: offers the members' names, none chosen, and shows the window.
    void openFromMenu();
    // "Ok"
    void okClicked();
    // "Cancel"
    void cancelClicked();

private:
    void openMember();

    ProjectData* dm_;
    TimeSheetEntryWindow* entryWindow_;
};

#pragma once

#include "mergereport.h"

#include <QDialog>

class QAction;
class QLabel;
class QListWidget;
class QPushButton;
class ProjectData;

// "Update Time Sheets": merges the chosen members' time-sheet files into the project time sheet
// table. A large merge shows its progress and can be stopped between two members. At the end it
// tells which files it could not merge and which names matched nothing.
class TimeSheetUpdateDialog : public QDialog {
    Q_OBJECT
public:
    explicit TimeSheetUpdateDialog(ProjectData* dm, QWidget* parent = nullptr);

    // Runs the menu item "Time Sheets" > "Update Time Sheets".
    void connectMenu(QAction* item);

    QLabel* membersLabel;      // Label1
    QListWidget* memberList;   // ListBox1, the members to merge
    QPushButton* updateButton; // Button1
    QPushButton* cancelButton; // Button2

public Q_SLOTS:
    // The menu item: lists the members and shows the window.
    void openFromMenu();
    // "Update"
    void updateClicked();
    // "Cancel"
    void cancelClicked();

private:
    MergeReport update();

    ProjectData* dm_;
};

#pragma once

#include <QDialog>

class QAction;
class QPushButton;
class ProjectData;

// "Update Cost Entries": merges the whole cost entry file into the project cost table.
class CostUpdateDialog : public QDialog {
    Q_OBJECT
public:
    explicit CostUpdateDialog(ProjectData* dm, QWidget* parent = nullptr);

    // Runs the menu item "Cost Sheets" > "Update Cost Entries".
    void connectMenu(QAction* item);

    QPushButton* updateButton; // Button1
    QPushButton* cancelButton; // Button2

public Q_SLOTS:
    // The menu item: shows the window.
    void openFromMenu();
    // "Update": merges, tells "Process Complete" (with the lines whose names matched nothing)
    // and closes; after a failure the window stays.
    void updateClicked();
    // "Cancel"
    void cancelClicked();

private:
    ProjectData* dm_;
};

#pragma once

#include "timesheets/entrywindow.h"

class QAction;
class ProjectData;

// "Cost Entries": the lines of the shared cost entry file. "Close" only hides the window: the file
// stays open on its line and in its state, so the window reopens where it was.
class CostEntryWindow : public EntryWindow {
    Q_OBJECT
public:
    explicit CostEntryWindow(ProjectData* dm, QWidget* parent = nullptr);

    // Runs the menu item "Cost Sheets" > "Cost Entry".
    void connectMenu(QAction* item);

public Q_SLOTS:
    // The menu item: shows the window.
    void openFromMenu();
    void Set_Fields_State(bool on);
    // "Close"
    void closeWindow() override;
};

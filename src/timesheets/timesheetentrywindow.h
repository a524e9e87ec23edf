#pragma once

#include "entrywindow.h"

class ProjectData;

// "Time Sheet Entry": the lines of one member's personal time-sheet file. The file is closed
// however the window is closed; a line not posted then is dropped.
class TimeSheetEntryWindow : public EntryWindow {
    Q_OBJECT
public:
    explicit TimeSheetEntryWindow(ProjectData* dm, QWidget* parent = nullptr);

public Q_SLOTS:
    void Set_fields_state(bool on);
    // "Close"
    void closeWindow() override;

public:
    void done(int result) override;

private:
    ProjectData* dm_;
};

#include "timesheetentrywindow.h"

#include "data/projectdata.h"
#include "framework/ui/guard.h"
#include "timesheetmerge.h"

TimeSheetEntryWindow::TimeSheetEntryWindow(ProjectData* dm, QWidget* parent)
    : EntryWindow(dm, dm->MemberTS, TimeSheetMerge::layout(), parent), dm_(dm) {
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("Time Sheet Entry"));
}

void TimeSheetEntryWindow::Set_fields_state(bool on) {
    setEntryControlsEnabled(on);
}

void TimeSheetEntryWindow::closeWindow() {
    dm_->MemberTS->close();
    close();
}

void TimeSheetEntryWindow::done(int result) {
    // Closing the file ends a pending line without asking, as "Close" does.
    vok::Guard::run([this] { dm_->MemberTS->close(); });
    EntryWindow::done(result);
}

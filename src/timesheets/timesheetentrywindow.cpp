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
    // "Close" drops a line not posted, as it always has; Escape and the title bar ask first.
    dm_->MemberTS->close();
    done(QDialog::Rejected);
}

void TimeSheetEntryWindow::done(int result) {
    // However the window went, its file is closed (a line still pending was settled by the
    // question of Escape and the title bar, or dropped by "Close").
    vok::Guard::run([this] { dm_->MemberTS->close(); });
    EntryWindow::done(result);
}

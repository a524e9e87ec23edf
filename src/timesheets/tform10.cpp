#include "tform10.h"

#include "data/tdatamodule2.h"
#include "framework/ui/guard.h"
#include "timesheetmerge.h"

TForm10::TForm10(TDataModule2* dm, QWidget* parent)
    : EntryWindow(dm, dm->MemberTS, TimeSheetMerge::layout(), parent), dm_(dm) {
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("Time Sheet Entry"));
}

void TForm10::Set_fields_state(bool on) {
    setEntryControlsEnabled(on);
}

void TForm10::Button1Click() {
    dm_->MemberTS->close();
    close();
}

void TForm10::done(int result) {
    // Closing the file ends a pending line without asking, as "Close" does.
    vok::Guard::run([this] { dm_->MemberTS->close(); });
    EntryWindow::done(result);
}

#include "costentrywindow.h"

#include "costmerge.h"
#include "data/projectdata.h"
#include "framework/ui/guard.h"
#include "framework/ui/modal.h"

#include <QAction>

CostEntryWindow::CostEntryWindow(ProjectData* dm, QWidget* parent)
    : EntryWindow(dm, dm->CostEntry, CostMerge::layout(), parent) {
    setObjectName(QStringLiteral("Form18"));
    setWindowTitle(QStringLiteral("Cost Entries"));
}

void CostEntryWindow::connectMenu(QAction* item) {
    connect(item, &QAction::triggered, this,
            [this] { vok::Guard::run([this] { openFromMenu(); }); });
}

void CostEntryWindow::openFromMenu() {
    vok::Modal::exec(this);
}

void CostEntryWindow::Set_Fields_State(bool on) {
    setEntryControlsEnabled(on);
}

void CostEntryWindow::closeWindow() {
    // The line stays as it is, to be found again when the window reopens.
    done(QDialog::Rejected);
}

#include "tform18.h"

#include "costmerge.h"
#include "data/tdatamodule2.h"
#include "framework/ui/guard.h"
#include "framework/ui/modal.h"

#include <QAction>

TForm18::TForm18(TDataModule2* dm, QWidget* parent)
    : EntryWindow(dm, dm->CostEntry, CostMerge::layout(), parent) {
    setObjectName(QStringLiteral("Form18"));
    setWindowTitle(QStringLiteral("Cost Entries"));
}

void TForm18::connectMenu(QAction* item) {
    connect(item, &QAction::triggered, this,
            [this] { vok::Guard::run([this] { CostEntry1Click(); }); });
}

void TForm18::CostEntry1Click() {
    vok::Modal::exec(this);
}

void TForm18::Set_Fields_State(bool on) {
    setEntryControlsEnabled(on);
}

void TForm18::Button1Click() {
    close();
}

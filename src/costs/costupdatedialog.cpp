#include "costupdatedialog.h"

#include "costmerge.h"
#include "data/projectdata.h"
#include "framework/ui/guard.h"
#include "framework/ui/messages.h"
#include "framework/ui/modal.h"
#include "timesheets/dialogbuttons.h"

#include <QAction>
#include <QPushButton>
#include <QVBoxLayout>

CostUpdateDialog::CostUpdateDialog(ProjectData* dm, QWidget* parent) : QDialog(parent), dm_(dm) {
    setObjectName(QStringLiteral("Form19"));
    setWindowTitle(QStringLiteral("Update Cost Entries"));
    resize(280, 80);
    updateButton = DialogButtons::make(this, "Button1", QStringLiteral("Update"));
    cancelButton = DialogButtons::make(this, "Button2", QStringLiteral("Cancel"));
    connect(updateButton, &QPushButton::clicked, this, &CostUpdateDialog::updateClicked);
    connect(cancelButton, &QPushButton::clicked, this, &CostUpdateDialog::cancelClicked);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(DialogButtons::row(updateButton, cancelButton, true));
}

void CostUpdateDialog::connectMenu(QAction* item) {
    connect(item, &QAction::triggered, this,
            [this] { vok::Guard::run([this] { openFromMenu(); }); });
}

void CostUpdateDialog::openFromMenu() {
    vok::Modal::exec(this);
}

void CostUpdateDialog::updateClicked() {
    MergeReport report;
    if (!vok::Guard::run([&] { report = CostMerge(*dm_).run(); }))
        return;
    // Lines whose names matched nothing are booked all the same; the user hears of them.
    const QString notFound = report.notFoundText();
    vok::Messages::inform(notFound.isEmpty() ? QStringLiteral("Process Complete")
                                             : QStringLiteral("Process Complete\n\n") + notFound);
    accept();
}

void CostUpdateDialog::cancelClicked() {
    reject();
}

#include "timesheetupdatedialog.h"

#include "data/projectdata.h"
#include "dialogbuttons.h"
#include "framework/ui/guard.h"
#include "framework/ui/messages.h"
#include "framework/ui/modal.h"
#include "framework/widgets/accessiblename.h"
#include "memberfile.h"
#include "memberlist.h"
#include "timesheetmerge.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

TimeSheetUpdateDialog::TimeSheetUpdateDialog(ProjectData* dm, QWidget* parent)
    : QDialog(parent), dm_(dm) {
    setObjectName(QStringLiteral("Form12"));
    setWindowTitle(QStringLiteral("Update Time Sheets"));
    resize(300, 320);
    membersLabel = new QLabel(QStringLiteral("Select team members"), this);
    membersLabel->setObjectName(QStringLiteral("Label1"));
    memberList = new QListWidget(this);
    memberList->setObjectName(QStringLiteral("ListBox1"));
    memberList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    membersLabel->setBuddy(memberList);
    vok::AccessibleName::follow(memberList, membersLabel);
    updateButton = DialogButtons::make(this, "Button1", QStringLiteral("Update"));
    cancelButton = DialogButtons::make(this, "Button2", QStringLiteral("Cancel"));
    connect(updateButton, &QPushButton::clicked, this, &TimeSheetUpdateDialog::updateClicked);
    connect(cancelButton, &QPushButton::clicked, this, &TimeSheetUpdateDialog::cancelClicked);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(membersLabel);
    layout->addWidget(memberList, 1);
    layout->addLayout(DialogButtons::row(updateButton, cancelButton));
}

void TimeSheetUpdateDialog::connectMenu(QAction* item) {
    connect(item, &QAction::triggered, this,
            [this] { vok::Guard::run([this] { openFromMenu(); }); });
}

void TimeSheetUpdateDialog::openFromMenu() {
    memberList->clear();
    memberList->addItems(MemberList::names(*dm_->Members));
    vok::Modal::exec(this);
}

void TimeSheetUpdateDialog::updateClicked() {
    MergeReport report;
    if (!vok::Guard::run([&] { report = update(); }))
        return;
    // Files that could not be merged are listed, and so are names that matched nothing, so that
    // no hours go unnoticed. The window stays open while a chosen file is left unmerged.
    const QString skipped = report.skippedText(QStringLiteral("time sheets"));
    const QString notFound = report.notFoundText();
    if (!skipped.isEmpty() || !notFound.isEmpty()) {
        const QString gap =
            skipped.isEmpty() || notFound.isEmpty() ? QString() : QStringLiteral("\n\n");
        vok::Messages::show(
            {skipped.isEmpty() ? vok::Messages::Icon::Information : vok::Messages::Icon::Warning,
             vok::Messages::applicationTitle(), skipped + gap + notFound, QMessageBox::Ok});
    }
    if (skipped.isEmpty())
        accept();
}

void TimeSheetUpdateDialog::cancelClicked() {
    reject();
}

MergeReport TimeSheetUpdateDialog::update() {
    QStringList chosen;
    for (int i = 0; i < memberList->count(); ++i) {
        if (memberList->item(i)->isSelected())
            chosen << memberList->item(i)->text();
    }
    QProgressDialog progress(QString(), QStringLiteral("Stop"), 0, static_cast<int>(chosen.size()),
                             this);
    progress.setWindowTitle(windowTitle());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500); // shown only when the merge takes a while
    TimeSheetMerge merge(*dm_);
    merge.beforeMember = [&](int index, int count) {
        progress.setLabelText(QStringLiteral("Merging the time sheet of %1 (%2 of %3)")
                                  .arg(MemberFile::trimmedName(chosen[index]))
                                  .arg(index + 1)
                                  .arg(count));
        progress.setValue(index);
        return !progress.wasCanceled();
    };
    const MergeReport report = merge.run(chosen);
    progress.setValue(progress.maximum());
    return report;
}

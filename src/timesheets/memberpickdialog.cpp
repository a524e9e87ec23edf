#include "memberpickdialog.h"

#include "data/projectdata.h"
#include "data/schema.h"
#include "dialogbuttons.h"
#include "framework/dataset/sheetclaim.h"
#include "framework/ui/guard.h"
#include "framework/ui/messages.h"
#include "framework/ui/modal.h"
#include "memberfile.h"
#include "memberlist.h"
#include "timesheetentrywindow.h"
#include "weekentrywindow.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

MemberPickDialog::MemberPickDialog(ProjectData* dm, TimeSheetEntryWindow* entryWindow,
                                   QWidget* parent)
    : QDialog(parent), dm_(dm), entryWindow_(entryWindow) {
    setObjectName(QStringLiteral("Form11"));
    setWindowTitle(QStringLiteral("Select a Member"));
    resize(300, 110);
    memberLabel = new QLabel(QStringLiteral("Member name"), this);
    memberLabel->setObjectName(QStringLiteral("Label1"));
    MemberName = new QComboBox(this);
    MemberName->setObjectName(QStringLiteral("MemberName"));
    MemberName->setEditable(false);
    memberLabel->setBuddy(MemberName);
    okButton = DialogButtons::make(this, "Button1", QStringLiteral("Ok"));
    okButton->setDefault(true);
    cancelButton = DialogButtons::make(this, "Button2", QStringLiteral("Cancel"));
    connect(okButton, &QPushButton::clicked, this, &MemberPickDialog::okClicked);
    connect(cancelButton, &QPushButton::clicked, this, &MemberPickDialog::cancelClicked);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(memberLabel);
    layout->addWidget(MemberName);
    layout->addStretch(1);
    layout->addLayout(DialogButtons::row(okButton, cancelButton));
}

void MemberPickDialog::connectMenu(QAction* item) {
    connect(item, &QAction::triggered, this,
            [this] { vok::Guard::run([this] { openFromMenu(); }); });
}

void MemberPickDialog::connectWeekMenu(QAction* item, WeekEntryWindow* weekWindow) {
    weekWindow_ = weekWindow;
    connect(item, &QAction::triggered, this,
            [this] { vok::Guard::run([this] { openFromMenu(true); }); });
}

void MemberPickDialog::openFromMenu(bool week) {
    week_ = week && weekWindow_;
    MemberName->clear();
    MemberName->addItems(MemberList::names(*dm_->Members));
    MemberName->setCurrentIndex(-1);
    vok::Modal::exec(this);
}

void MemberPickDialog::okClicked() {
    vok::Guard::run([this] { openMember(); });
    // "Ok" closes the window whatever happened.
    accept();
}

void MemberPickDialog::cancelClicked() {
    reject();
}

void MemberPickDialog::openMember() {
    const QString member = MemberName->currentText();
    if (member.isEmpty()) {
        vok::Messages::inform(QStringLiteral("You must select a team member."));
        return;
    }
    if (const QString refusal = MemberFile::refusal(member); !refusal.isEmpty()) {
        vok::Messages::show({vok::Messages::Icon::Warning, vok::Messages::applicationTitle(),
                             refusal, QMessageBox::Ok});
        return;
    }
    dm_->DataPath = MemberFile::withTrailingSeparator(dm_->DataPath);
    const QString file = MemberFile::fileName(member);
    vok::Table& lines = *dm_->MemberTS;
    lines.close(); // one member's file at a time
    if (!dm_->store->fileExists(file))
        dm_->store->createFile(file, Schema::memberTimeSheetFile());
    // Opened here rather than by the window, so that a file that cannot be opened (no database,
    // another table) is refused before the window shows.
    entryWindow_->Set_fields_state(false);
    MemberFile::open(lines, member);
    // Held until the window closes: the line and week windows (and a merge) of one member never
    // write the same file at once, whichever installation they run in.
    const std::unique_ptr<vok::SheetClaim> claim =
        dm_->store->claimSheet(file, vok::SheetClaim::Kind::Alone);
    if (!claim) {
        lines.close();
        vok::Messages::show(
            {vok::Messages::Icon::Warning, vok::Messages::applicationTitle(),
             QStringLiteral("The time sheet of %1 is open in another time sheet window, on this "
                            "computer or another one. Close that window first.")
                 .arg(MemberFile::trimmedName(member)),
             QMessageBox::Ok});
        return;
    }
    if (!week_) {
        vok::Modal::exec(entryWindow_);
        return;
    }
    try {
        weekWindow_->openFor(member);
    } catch (...) {
        lines.close();
        throw;
    }
    vok::Modal::exec(weekWindow_);
}

#include "memberpickdialog.h"

#include "data/projectdata.h"
#include "data/schema.h"
#include "dialogbuttons.h"
#include "framework/ui/guard.h"
#include "framework/ui/messages.h"
#include "framework/ui/modal.h"
#include "memberfile.h"
#include "memberlist.h"
#include "timesheetentrywindow.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

MemberPickDialog::MemberPickDialog(ProjectData* dm, TimeSheetEntryWindow* entryWindow,
                                   QWidget* parent)
    : QDialog(parent), dm_(dm), form10_(entryWindow) {
    setObjectName(QStringLiteral("Form11"));
    setWindowTitle(QStringLiteral("Select a Member"));
    resize(300, 110);
    Label1 = new QLabel(QStringLiteral("Member name"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    MemberName = new QComboBox(this);
    MemberName->setObjectName(QStringLiteral("MemberName"));
    MemberName->setEditable(false);
    Label1->setBuddy(MemberName);
    Button1 = DialogButtons::make(this, "Button1", QStringLiteral("Ok"));
    Button1->setDefault(true);
    Button2 = DialogButtons::make(this, "Button2", QStringLiteral("Cancel"));
    connect(Button1, &QPushButton::clicked, this, &MemberPickDialog::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &MemberPickDialog::Button2Click);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(MemberName);
    layout->addStretch(1);
    layout->addLayout(DialogButtons::row(Button1, Button2));
}

void MemberPickDialog::connectMenu(QAction* item) {
    connect(item, &QAction::triggered, this,
            [this] { vok::Guard::run([this] { Timesheetentry1Click(); }); });
}

void MemberPickDialog::Timesheetentry1Click() {
    MemberName->clear();
    MemberName->addItems(MemberList::names(*dm_->Members));
    MemberName->setCurrentIndex(-1);
    vok::Modal::exec(this);
}

void MemberPickDialog::Button1Click() {
    vok::Guard::run([this] { openMember(); });
    // "Ok" closes the window whatever happened.
    accept();
}

void MemberPickDialog::Button2Click() {
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
    // Opened here rather than by the entry window, so that a file that cannot be opened (no
    // database, another table) is refused before the window shows.
    form10_->Set_fields_state(false);
    MemberFile::open(lines, member);
    vok::Modal::exec(form10_);
}

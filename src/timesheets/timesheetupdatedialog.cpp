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
    Label1 = new QLabel(QStringLiteral("Select team members"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Label1->setBuddy(ListBox1);
    vok::AccessibleName::follow(ListBox1, Label1);
    Button1 = DialogButtons::make(this, "Button1", QStringLiteral("Update"));
    Button2 = DialogButtons::make(this, "Button2", QStringLiteral("Cancel"));
    connect(Button1, &QPushButton::clicked, this, &TimeSheetUpdateDialog::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TimeSheetUpdateDialog::Button2Click);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(ListBox1, 1);
    layout->addLayout(DialogButtons::row(Button1, Button2));
}

void TimeSheetUpdateDialog::connectMenu(QAction* item) {
    connect(item, &QAction::triggered, this,
            [this] { vok::Guard::run([this] { UpdateTimeSheets1Click(); }); });
}

void TimeSheetUpdateDialog::UpdateTimeSheets1Click() {
    ListBox1->clear();
    ListBox1->addItems(MemberList::names(*dm_->Members));
    vok::Modal::exec(this);
}

void TimeSheetUpdateDialog::Button1Click() {
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

void TimeSheetUpdateDialog::Button2Click() {
    reject();
}

MergeReport TimeSheetUpdateDialog::update() {
    QStringList chosen;
    for (int i = 0; i < ListBox1->count(); ++i) {
        if (ListBox1->item(i)->isSelected())
            chosen << ListBox1->item(i)->text();
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

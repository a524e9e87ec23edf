#include "timesheetreportdialog.h"

#include "data/projectdata.h"
#include "memberlist.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>

namespace {

// Not a name of the members table: the choice of every member, in every language.
const QString allMembers = QStringLiteral("All");

} // namespace

TimeSheetReportDialog::TimeSheetReportDialog(ProjectData* dm, QWidget* parent)
    : PeriodDialog(dm, "Form14", QStringLiteral("Print Time Sheets"), parent),
      Project(projectBox()) {
    memberLabel = new QLabel(QStringLiteral("Team member"), this);
    memberLabel->setObjectName(QStringLiteral("Label4"));
    Member = new QComboBox(this);
    Member->setObjectName(QStringLiteral("Member"));
    memberLabel->setBuddy(Member);
    fields()->addRow(memberLabel, Member);
    resize(420, 230);
}

TimeSheetOptions TimeSheetReportDialog::options() const {
    const QString member = Member->currentText();
    return {fromDate(), toDate(),
            member == allMembers ? std::nullopt : std::optional<QString>(member)};
}

void TimeSheetReportDialog::prepare() {
    PeriodDialog::prepare();
    Member->clear();
    Member->addItem(allMembers);
    Member->addItems(MemberList::names(*dm_->Members));
    Member->setCurrentIndex(0);
}

#include "weekentrywindow.h"

#include "data/projectdata.h"
#include "framework/dataset/shortdate.h"
#include "framework/dataset/table.h"
#include "framework/ui/clock.h"
#include "framework/ui/guard.h"
#include "framework/ui/messages.h"
#include "framework/widgets/accessiblename.h"
#include "weekgrid.h"
#include "weekmodel.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

QPushButton* button(QWidget* window, const char* name, const QString& text) {
    auto* b = new QPushButton(text, window);
    b->setObjectName(QLatin1String(name));
    // Enter belongs to the cell being typed into, never to a button.
    b->setAutoDefault(false);
    return b;
}

} // namespace

WeekEntryWindow::WeekEntryWindow(ProjectData* dm, QWidget* parent)
    : QDialog(parent), dm_(dm), sheet_(*dm), names_(*dm) {
    setObjectName(QStringLiteral("WeekEntryForm"));
    setWindowTitle(QStringLiteral("Week Entry"));
    resize(1060, 420);

    memberName = new QLabel(this);
    memberName->setObjectName(QStringLiteral("MemberName"));
    QFont bold = memberName->font();
    bold.setBold(true);
    memberName->setFont(bold);
    weekLabel = new QLabel(QStringLiteral("Week"), this);
    weekLabel->setObjectName(QStringLiteral("Label1"));
    dateEdit = new QDateEdit(this);
    dateEdit->setObjectName(QStringLiteral("DateEdit1"));
    dateEdit->setCalendarPopup(true);
    dateEdit->setDisplayFormat(vok::ShortDate::pattern());
    weekLabel->setBuddy(dateEdit);
    priorButton = button(this, "PriorWeekButton", QStringLiteral("Previous week"));
    nextButton = button(this, "NextWeekButton", QStringLiteral("Next week"));
    weekNumber = new QLabel(this);
    weekNumber->setObjectName(QStringLiteral("WeekNumber"));

    grid = new WeekGrid(this);
    grid->setObjectName(QStringLiteral("WeekGrid"));
    model_ = new WeekModel(sheet_, names_, this);
    grid->setWeekModel(model_);
    vok::AccessibleName::follow(grid, weekLabel);

    copyRowsButton = button(this, "CopyRowsButton", QStringLiteral("Copy last week's rows"));
    closeButton = button(this, "Button1", QStringLiteral("Close"));

    connect(dateEdit, &QDateEdit::dateChanged, this, [this](const QDate& day) { goToWeek(day); });
    connect(priorButton, &QPushButton::clicked, this,
            [this] { goToWeek(sheet_.monday().addDays(-WeekSheet::Days)); });
    connect(nextButton, &QPushButton::clicked, this,
            [this] { goToWeek(sheet_.monday().addDays(WeekSheet::Days)); });
    connect(copyRowsButton, &QPushButton::clicked, this, [this] { copyRows(); });
    connect(closeButton, &QPushButton::clicked, this,
            [this] { vok::Guard::run([this] { closeWindow(); }); });

    auto* top = new QHBoxLayout;
    top->addWidget(memberName);
    top->addStretch(1);
    top->addWidget(weekLabel);
    top->addWidget(dateEdit);
    top->addWidget(priorButton);
    top->addWidget(nextButton);
    top->addWidget(weekNumber);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(copyRowsButton);
    bottom->addStretch(1);
    bottom->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid, 1);
    layout->addLayout(bottom);
    setTabOrder(grid, copyRowsButton);
}

void WeekEntryWindow::openFor(const QString& member) {
    sheet_.read(member, vok::Clock::today());
    memberName->setText(member);
    showSheet();
    grid->setCurrentIndex(model_->index(0, WeekModel::ProjectColumn));
    grid->setFocus(Qt::OtherFocusReason);
}

void WeekEntryWindow::showSheet() {
    model_->reload();
    showWeekNumber();
}

void WeekEntryWindow::showWeekNumber() {
    int year = 0;
    const int week = sheet_.monday().weekNumber(&year);
    weekNumber->setText(
        QCoreApplication::translate("WeekEntryForm", "Week %1, %2").arg(week).arg(year));
    const QSignalBlocker quiet(dateEdit);
    if (WeekSheet::mondayOf(dateEdit->date()) != sheet_.monday())
        dateEdit->setDate(sheet_.monday());
}

bool WeekEntryWindow::storeTyped() {
    if (!grid->finishEditing())
        return false;
    if (!sheet_.isModified())
        return true;
    if (const QStringList hourless = sheet_.hourlessRows(); !hourless.isEmpty()) {
        const QMessageBox::StandardButton answer = vok::Messages::show(
            {vok::Messages::Icon::Question, vok::Messages::applicationTitle(),
             QStringLiteral("A row is stored as its hours, and these rows have none:\n%1\n"
                            "Leave them out?")
                 .arg(hourless.join(QLatin1Char('\n'))),
             QMessageBox::Yes | QMessageBox::No});
        if (answer != QMessageBox::Yes)
            return false;
    }
    const int row = grid->currentIndex().row();
    const int column = grid->currentIndex().column();
    const bool stored = vok::Guard::run([this] { sheet_.store(); });
    showSheet();
    grid->setCurrentIndex(model_->index(std::min(row, model_->rowCount() - 2), column));
    return stored;
}

void WeekEntryWindow::goToWeek(const QDate& day) {
    if (!day.isValid() || WeekSheet::mondayOf(day) == sheet_.monday())
        return;
    if (!storeTyped()) {
        showSheet(); // the date goes back to the week still shown
        return;
    }
    vok::Guard::run([&] { sheet_.read(sheet_.member(), day); });
    showSheet();
    const QSignalBlocker quiet(dateEdit);
    dateEdit->setDate(day);
}

void WeekEntryWindow::copyRows() {
    if (!grid->finishEditing())
        return;
    int added = 0;
    if (!vok::Guard::run([&] { added = sheet_.copyPreviousRows(); }))
        return;
    model_->reload();
    if (added == 0)
        vok::Messages::inform(QStringLiteral("The week before has no rows that this week lacks."));
}

void WeekEntryWindow::closeWindow() {
    if (storeTyped())
        accept();
}

void WeekEntryWindow::reject() {
    if (!grid->finishEditing())
        return;
    if (sheet_.isModified()) {
        const QMessageBox::StandardButton answer = vok::Messages::show(
            {vok::Messages::Icon::Question, vok::Messages::applicationTitle(),
             QStringLiteral("What was typed into this week is not stored yet. Save it?"),
             QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel});
        if (answer == QMessageBox::Cancel || answer == QMessageBox::Escape ||
            answer == QMessageBox::NoButton)
            return;
        if (answer == QMessageBox::Save && !storeTyped())
            return;
    }
    QDialog::reject();
}

void WeekEntryWindow::done(int result) {
    vok::Guard::run([this] { dm_->MemberTS->close(); });
    QDialog::done(result);
}

void WeekEntryWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange && !sheet_.monday().isNull()) {
        model_->retranslate();
        showWeekNumber();
    }
    QDialog::changeEvent(event);
}

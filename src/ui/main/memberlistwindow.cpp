#include "memberlistwindow.h"

#include "data/projectdata.h"
#include "framework/ui/guard.h"
#include "framework/widgets/accessiblename.h"
#include "framework/widgets/dbgrid.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

MemberListWindow::MemberListWindow(ProjectData* dm, QWidget* parent) : QDialog(parent), dm_(dm) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Team Members List"));
    resize(680, 360);
    if (const QScreen* s = QGuiApplication::primaryScreen()) // centred on the screen
        move(s->availableGeometry().center() - rect().center());

    grid = new vok::DBGrid(this);
    grid->setObjectName(QStringLiteral("DBGrid1"));
    vok::AccessibleName::follow(grid, [this] { return windowTitle(); });
    grid->addColumn(QStringLiteral("Member_name"), QStringLiteral("Name"), 200);
    grid->addColumn(QStringLiteral("Member_title"), QStringLiteral("Title"), 136);
    grid->addColumn(QStringLiteral("Member_email"), QStringLiteral("Email address"), 164);
    grid->addColumn(QStringLiteral("Member_tel"), QStringLiteral("Telephone"), 122);
    grid->setConfirmDelete(true);
    grid->setDataSource(dm_->Members);

    closeButton = new QPushButton(QStringLiteral("Close"), this);
    closeButton->setObjectName(QStringLiteral("Button1"));
    closeButton->setAutoDefault(false);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(closeButton);
    layout->addLayout(buttons);
}

void MemberListWindow::done(int result) {
    // A member that cannot be stored is reported and the window stays, so it can be put right.
    if (vok::Guard::run([this] { dm_->Members->checkBrowseMode(); }))
        QDialog::done(result);
}

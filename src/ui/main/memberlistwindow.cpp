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

    DBGrid1 = new vok::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    vok::AccessibleName::follow(DBGrid1, [this] { return windowTitle(); });
    DBGrid1->addColumn(QStringLiteral("Member_name"), QStringLiteral("Name"), 200);
    DBGrid1->addColumn(QStringLiteral("Member_title"), QStringLiteral("Title"), 136);
    DBGrid1->addColumn(QStringLiteral("Member_email"), QStringLiteral("Email address"), 164);
    DBGrid1->addColumn(QStringLiteral("Member_tel"), QStringLiteral("Telephone"), 122);
    DBGrid1->setConfirmDelete(true);
    DBGrid1->setDataSource(dm_->Members);

    Button1 = new QPushButton(QStringLiteral("Close"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &MemberListWindow::Button1Click);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DBGrid1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    layout->addLayout(buttons);
}

void MemberListWindow::Button1Click() {
    close();
}

void MemberListWindow::done(int result) {
    // A member that cannot be stored is reported and the window stays, so it can be put right.
    if (vok::Guard::run([this] { dm_->Members->checkBrowseMode(); }))
        QDialog::done(result);
}

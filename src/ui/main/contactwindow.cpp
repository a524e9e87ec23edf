#include "contactwindow.h"

#include "data/projectdata.h"
#include "framework/ui/guard.h"
#include "framework/widgets/dbedit.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

struct ContactField {
    const char* caption;
    const char* field;
};
const ContactField contactFields[] = {
    {"Contact Name", "ProjectContact_name"},     {"Title", "ProjectContact_title"},
    {"Company", "ProjectContact_Company"},       {"Address 1", "ProjectContact_adr1"},
    {"Address 2", "ProjectContact_adr2"},        {"City", "ProjectContact_City"},
    {"State/Province", "ProjectContact_State"},  {"Country", "ProjectContact_Country"},
    {"Postal/Zip code", "ProjectContact_PCode"}, {"Telephone", "ProjectContact_tel"},
    {"Extension", "ProjectContact_ext"},         {"Email", "ProjectContact_email"},
};
constexpr int ExtensionRow = 10;

} // namespace

ContactWindow::ContactWindow(ProjectData* dm, QWidget* parent) : QDialog(parent), dm_(dm) {
    setObjectName(QStringLiteral("Form15"));
    setWindowTitle(QStringLiteral("Contacts"));
    resize(420, 420);
    if (const QScreen* s = QGuiApplication::primaryScreen()) // centred on the screen
        move(s->availableGeometry().center() - rect().center());

    auto* grid = new QGridLayout;
    for (int i = 0; i < static_cast<int>(labels.size()); ++i) {
        const ContactField& f = contactFields[i];
        QLabel* label = new QLabel(QLatin1String(f.caption), this);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        auto* edit = new vok::DBEdit(this);
        edit->setObjectName(QStringLiteral("DBEdit%1").arg(i + 1));
        edit->setDataSource(dm_->Contacts, QLatin1String(f.field));
        // The buddy names the edit for assistive tools, in whatever language the label speaks.
        label->setBuddy(edit);
        grid->addWidget(label, i, 0);
        if (i == ExtensionRow) {
            edit->setMaximumWidth(80); // a narrow field
            grid->addWidget(edit, i, 1, Qt::AlignLeft);
        } else {
            grid->addWidget(edit, i, 1);
        }
        labels[static_cast<size_t>(i)] = label;
        edits[static_cast<size_t>(i)] = edit;
    }
    grid->setColumnStretch(1, 1);

    okButton = new QPushButton(QStringLiteral("Ok"), this);
    okButton->setObjectName(QStringLiteral("Button1"));
    okButton->setDefault(true);
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("Button2"));
    connect(okButton, &QPushButton::clicked, this,
            [this] { vok::Guard::run([this] { store(); }); });
    connect(cancelButton, &QPushButton::clicked, this, &ContactWindow::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    layout->addLayout(buttons);
}

void ContactWindow::store() {
    // A text a field refused is reported by its control; Ok waits until it is put right.
    for (const vok::DBEdit* e : edits) {
        if (e->hasInvalidText())
            return;
    }
    // A contact that cannot be stored is reported and the window stays, so it can be put right
    // or dropped with Cancel.
    if (dm_->Contacts->isEditing())
        dm_->Contacts->post();
    accept();
}

void ContactWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    edits[0]->setFocus(Qt::OtherFocusReason);
}

void ContactWindow::reject() {
    vok::Guard::run([this] {
        dm_->Contacts->cancel();
        for (vok::DBEdit* e : edits)
            e->reload();
    });
    QDialog::reject();
}

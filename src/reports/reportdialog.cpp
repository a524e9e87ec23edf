#include "reportdialog.h"

#include "data/projectdata.h"
#include "framework/dataset/table.h"
#include "framework/ui/guard.h"
#include "framework/ui/modal.h"
#include "reportform.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

ReportDialog::ReportDialog(ProjectData* dm, const char* name, const QString& title,
                           const char* projectBox, ProjectChoice choice, QWidget* parent)
    : QDialog(parent), dm_(dm) {
    setObjectName(QLatin1String(name));
    setWindowTitle(title);

    Label1 = new QLabel(QStringLiteral("Which Project"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    projectBox_ = new QComboBox(this);
    projectBox_->setObjectName(QLatin1String(projectBox));
    if (choice == ProjectChoice::Typed) {
        projectBox_->setEditable(true);
        projectBox_->setInsertPolicy(QComboBox::NoInsert);
    }
    Label1->setBuddy(projectBox_);
    CheckBox1 = new QCheckBox(QStringLiteral("Show print dialog  "), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    Button1 = button(this, "Button1", QStringLiteral("Print"));
    Button2 = button(this, "Button2", QStringLiteral("Preview"));
    Button3 = button(this, "Button3", QStringLiteral("Close"));

    auto* layout = new QVBoxLayout(this);
    fields_ = new QFormLayout;
    fields_->addRow(Label1, projectBox_);
    layout->addLayout(fields_);
    body_ = new QVBoxLayout;
    layout->addLayout(body_);
    layout->addWidget(CheckBox1);
    layout->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addWidget(Button3);
    layout->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, &ReportDialog::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &ReportDialog::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &ReportDialog::Button3Click);
}

void ReportDialog::connectMenu(QAction* item) {
    connect(item, &QAction::triggered, this,
            [this] { vok::Guard::run([this] { openFromMenu(); }); });
}

QString ReportDialog::projectName() const {
    return projectBox_->currentText();
}

void ReportDialog::openFromMenu() {
    projectBox_->clear();
    projectBox_->setEditText(QString());
    vok::Table* projects = dm_->projects;
    const vok::Field& name = projects->fieldByName(QStringLiteral("Zel_project"));
    for (projects->first(); !projects->eof(); projects->next())
        projectBox_->addItem(name.asString());
    if (projectBox_->count() > 0)
        projectBox_->setCurrentIndex(0);
    prepare();
    vok::Modal::exec(this);
}

void ReportDialog::runReport(const std::function<void(ReportForm&)>& action) {
    vok::Guard::run([&] {
        if (printProject_)
            printProject_(projectName());
        action(*report_);
    });
}

void ReportDialog::Button1Click() {
    runReport([this](ReportForm& r) { r.print(CheckBox1->isChecked()); });
}

void ReportDialog::Button2Click() {
    runReport([](ReportForm& r) { r.preview(); });
}

void ReportDialog::Button3Click() {
    close();
}

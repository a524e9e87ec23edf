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

    projectLabel = new QLabel(QStringLiteral("Which Project"), this);
    projectLabel->setObjectName(QStringLiteral("Label1"));
    projectBox_ = new QComboBox(this);
    projectBox_->setObjectName(QLatin1String(projectBox));
    if (choice == ProjectChoice::Typed) {
        projectBox_->setEditable(true);
        projectBox_->setInsertPolicy(QComboBox::NoInsert);
    }
    projectLabel->setBuddy(projectBox_);
    showPrintDialog = new QCheckBox(QStringLiteral("Show print dialog  "), this);
    showPrintDialog->setObjectName(QStringLiteral("CheckBox1"));
    printButton = button(this, "Button1", QStringLiteral("Print"));
    previewButton = button(this, "Button2", QStringLiteral("Preview"));
    closeButton = button(this, "Button3", QStringLiteral("Close"));

    auto* layout = new QVBoxLayout(this);
    fields_ = new QFormLayout;
    fields_->addRow(projectLabel, projectBox_);
    layout->addLayout(fields_);
    body_ = new QVBoxLayout;
    layout->addLayout(body_);
    layout->addWidget(showPrintDialog);
    layout->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(printButton);
    buttons->addWidget(previewButton);
    buttons->addWidget(closeButton);
    layout->addLayout(buttons);

    connect(printButton, &QPushButton::clicked, this, &ReportDialog::printReport);
    connect(previewButton, &QPushButton::clicked, this, &ReportDialog::previewReport);
    connect(closeButton, &QPushButton::clicked, this, &ReportDialog::closeDialog);
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

void ReportDialog::printReport() {
    runReport([this](ReportForm& r) { r.print(showPrintDialog->isChecked()); });
}

void ReportDialog::previewReport() {
    runReport([](ReportForm& r) { r.preview(); });
}

void ReportDialog::closeDialog() {
    close();
}

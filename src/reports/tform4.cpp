#include "tform4.h"

#include "data/tdatamodule2.h"
#include "framework/dataset/table.h"
#include "framework/report/report.h"
#include "framework/ui/guard.h"
#include "framework/ui/modal.h"
#include "tform5.h"
#include "ui/main/tform1.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QGroupBox* radioGroup(QWidget* parent, const char* name, const QString& title,
                      const QStringList& items, QButtonGroup*& buttons) {
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(QLatin1String(name));
    auto* layout = new QVBoxLayout(box);
    buttons = new QButtonGroup(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], box);
        b->setObjectName(QStringLiteral("%1Item%2").arg(QLatin1String(name)).arg(i));
        buttons->addButton(b, i);
        layout->addWidget(b);
    }
    buttons->button(0)->setChecked(true);
    return box;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

TForm4::TForm4(TForm1* form1, TDataModule2* dm, QWidget* parent)
    : QDialog(parent), form1_(form1), dm_(dm) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Print Time Line report"));
    resize(544, 320);

    Label1 = new QLabel(QStringLiteral("Which Project"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    Label1->setBuddy(ComboBox1);
    RadioGroup1 = radioGroup(this, "RadioGroup1", QStringLiteral("Start date"),
                             {QStringLiteral("Project Start Date"), QStringLiteral("Today")},
                             RadioGroup1Items);
    RadioGroup2 = radioGroup(this, "RadioGroup2", QStringLiteral("Time line"),
                             {QStringLiteral("Day"), QStringLiteral("Month")}, RadioGroup2Items);
    CheckBox1 = new QCheckBox(QStringLiteral("Show print dialog  "), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    Button1 = button(this, "Button1", QStringLiteral("Print"));
    Button2 = button(this, "Button2", QStringLiteral("Preview"));
    Button3 = button(this, "Button3", QStringLiteral("Close"));

    auto* layout = new QVBoxLayout(this);
    auto* project = new QHBoxLayout;
    project->addWidget(Label1);
    project->addWidget(ComboBox1, 1);
    layout->addLayout(project);
    auto* choices = new QHBoxLayout;
    choices->addWidget(RadioGroup1);
    choices->addWidget(RadioGroup2);
    layout->addLayout(choices);
    layout->addWidget(CheckBox1);
    layout->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addWidget(Button3);
    layout->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm4::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm4::Button3Click);
    connect(form1_->PrintPERT1, &QAction::triggered, this, &TForm4::PrintPERT1Click);
}

void TForm4::PrintPERT1Click() {
    vok::Guard::run([this] {
        ComboBox1->clear();
        ComboBox1->setEditText(QString());
        vok::Table* projects = dm_->projects;
        vok::Field& name = projects->fieldByName(QStringLiteral("Zel_project"));
        for (projects->first(); !projects->eof(); projects->next())
            ComboBox1->addItem(name.asString());
        if (ComboBox1->count() > 0)
            ComboBox1->setCurrentIndex(0);
        vok::Modal::exec(this);
    });
}

void TForm4::withProjectFilter(const std::function<void()>& action) {
    form1_->PrintProject->setText(ComboBox1->currentText());
    struct FilterOn {
        vok::Table* table;
        explicit FilterOn(vok::Table* t) : table(t) { table->setFiltered(true); }
        ~FilterOn() {
            try {
                table->setFiltered(false);
            } catch (...) {
                // The error that ended the run is the one the user sees.
            }
        }
    } filter(dm_->projects);
    action();
}

vok::ReportDocument TForm4::runReport() {
    vok::ReportDocument document;
    withProjectFilter([&] { document = report_->QuickRep1->run(); });
    return document;
}

void TForm4::Button1Click() {
    vok::Guard::run([this] {
        withProjectFilter([this] { report_->QuickRep1->print(CheckBox1->isChecked()); });
    });
}

void TForm4::Button2Click() {
    vok::Guard::run([this] { withProjectFilter([this] { report_->QuickRep1->preview(); }); });
}

void TForm4::Button3Click() {
    close();
}

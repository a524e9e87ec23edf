#include "timelinedialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
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

} // namespace

TimeLineDialog::TimeLineDialog(ProjectData* dm, QWidget* parent)
    : ReportDialog(dm, "Form4", QStringLiteral("Print Time Line report"), "ComboBox1",
                   ProjectChoice::Typed, parent) {
    startGroup =
        radioGroup(this, "RadioGroup1", QStringLiteral("Start date"),
                   {QStringLiteral("Project Start Date"), QStringLiteral("Today")}, startChoice);
    scaleGroup = radioGroup(this, "RadioGroup2", QStringLiteral("Time line"),
                            {QStringLiteral("Day"), QStringLiteral("Month")}, scaleChoice);
    auto* choices = new QHBoxLayout;
    choices->addWidget(startGroup);
    choices->addWidget(scaleGroup);
    body()->addLayout(choices);
    TilesBox = new QCheckBox(QStringLiteral("Dates past the page on pages side by side"), this);
    TilesBox->setObjectName(QStringLiteral("TilesBox"));
    body()->addWidget(TilesBox);
    ActualsBox = new QCheckBox(QStringLiteral("Actual work"), this);
    ActualsBox->setObjectName(QStringLiteral("ActualsBox"));
    body()->addWidget(ActualsBox);
    resize(544, 320);
}

TimeLineOptions TimeLineDialog::options() const {
    return {startChoice->checkedId() == 1 ? TimeLineOptions::Start::Today
                                          : TimeLineOptions::Start::Project,
            scaleChoice->checkedId() == 1 ? TimeLineOptions::Scale::Month
                                          : TimeLineOptions::Scale::Day,
            TilesBox->isChecked(), ActualsBox->isChecked()};
}

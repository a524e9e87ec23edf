#include "projectreportdialog.h"

#include <QCheckBox>
#include <QVBoxLayout>

ProjectReportDialog::ProjectReportDialog(ProjectData* dm, QWidget* parent)
    : ReportDialog(dm, "Form6", QStringLiteral("Print Project report"), "ComboBox1",
                   ProjectChoice::Typed, parent) {
    const auto box = [this](const char* name, const QString& text) {
        auto* b = new QCheckBox(text, this);
        b->setObjectName(QLatin1String(name));
        body()->addWidget(b);
        return b;
    };
    IncludeMajor = box("IncludeMajor", QStringLiteral("Include Major Activities"));
    IncludeAction = box("IncludeAction", QStringLiteral("Include Actions"));
    IncludeNotes = box("IncludeNotes", QStringLiteral("Include notes"));
    IncludeTeam = box("IncludeTeam", QStringLiteral("Include team members list"));
    resize(544, 237);
}

ProjectReportOptions ProjectReportDialog::options() const {
    return {IncludeMajor->isChecked(), IncludeAction->isChecked(), IncludeNotes->isChecked(),
            IncludeTeam->isChecked()};
}

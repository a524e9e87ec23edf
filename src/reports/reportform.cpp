#include "reportform.h"

#include "data/projectdata.h"
#include "framework/dataset/table.h"
#include "framework/report/report.h"
#include "framework/report/reportlabel.h"
#include "framework/ui/guard.h"

#include <QAbstractButton>

ReportForm::ReportForm(ProjectData* dm, const char* name, const QString& title,
                       const vok::PageSetup& setup, QObject* parent)
    : QObject(parent), bandedReport(new vok::Report(this)), dm_(dm) {
    setObjectName(QLatin1String(name));
    bandedReport->setObjectName(QStringLiteral("QuickRep1"));
    bandedReport->setTitle(title);
    bandedReport->setPageSetup(setup);
    bandedReport->setDefaultFont(ReportParts::arial(10));
    // Every report is of one project, current when the run starts.
    bandedReport->subject = [dm] {
        vok::Table* projects = dm->projects;
        return projects->isActive() && !projects->eof()
                   ? projects->fieldByName(QStringLiteral("Zel_project")).asString()
                   : QString();
    };
}

void ReportForm::build(std::span<const BandDef> bands, std::span<const ElementDef> elements,
                       const char* titleLabel) {
    ReportLayout::addBands(*bandedReport, *dm_, bands);
    ReportLayout::addElements(*bandedReport, *dm_, elements);
    if (titleLabel)
        titledBy(titleLabel);
}

void ReportForm::titledBy(const char* label) {
    bandedReport->setTitleLabel(element<vok::ReportLabel>(label));
}

void ReportForm::filterOnChosenProject(QList<vok::Table*> opened) {
    filtered_ = true;
    opened_ = std::move(opened);
}

vok::ReportBand* ReportForm::band(const char* name) const {
    return ReportLayout::band(*bandedReport, name);
}

void ReportForm::within(const std::function<void()>& action) {
    // Undone in reverse order, also when the run fails: the error that ended it is the one the
    // user sees.
    struct Scope {
        vok::Table* projects = nullptr;
        QList<vok::Table*> opened;
        ~Scope() {
            for (vok::Table* t : opened) {
                try {
                    t->close();
                } catch (...) {
                }
            }
            if (projects) {
                try {
                    projects->setFiltered(false);
                } catch (...) {
                }
            }
        }
    } scope;
    if (filtered_) {
        scope.projects = dm_->projects;
        dm_->projects->setFiltered(true);
        for (vok::Table* t : opened_) {
            scope.opened << t;
            if (!t->isActive())
                t->open();
        }
    }
    action();
}

vok::ReportDocument ReportForm::run() {
    vok::ReportDocument document;
    within([&] { document = bandedReport->run(); });
    return document;
}

void ReportForm::preview() {
    within([this] { bandedReport->preview(); });
}

void ReportForm::print(bool showSetupDialog) {
    within([&] { bandedReport->print(showSetupDialog); });
}

void ReportForm::connectButton(QAbstractButton* button, std::function<void()> positionOnProject) {
    connect(button, &QAbstractButton::clicked, this,
            [this, position = std::move(positionOnProject)] {
                vok::Guard::run([&] {
                    if (position)
                        position();
                    print(false);
                });
            });
}

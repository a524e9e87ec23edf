#pragma once

#include "framework/dataset/databaseerror.h"
#include "framework/report/reportelement.h"
#include "reportlayout.h"
#include "reportparts.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <functional>

class ProjectData;
class QAbstractButton;

namespace vok {
class PageSetup;
class Report;
class Table;
struct ReportDocument;
} // namespace vok

// What the report windows share: never shown, each holds one banded report (`bandedReport`) over
// the shared record-sets, laid out, previewed or printed. Dialogs and vokctl run it alike.
class ReportForm : public QObject {
    Q_OBJECT
public:
    vok::Report* bandedReport;

    // Lays the report out. A report of the chosen project runs with the project table filtered
    // to the name the project filter reads (PrintProject) and with the record-sets it reads
    // opened; afterwards the filter is off and those record-sets are closed, however the run
    // ended.
    vok::ReportDocument run();
    void preview();
    // Shows the printer set-up dialog first when asked to, and prints whatever its answer.
    void print(bool showSetupDialog);
    // For a report without a dialog: the button that prints it on the current printer, without
    // preview or set-up dialog, after `positionOnProject` has put the project record-set on the
    // selected project.
    void connectButton(QAbstractButton* button, std::function<void()> positionOnProject);

    // The rows the last run printed, as a spreadsheet takes them: a heading row, then one row per
    // record printed, dates in ISO form, numbers with a dot. Empty for a report without such rows.
    const QList<QStringList>& printedRows() const { return printed_; }

    vok::ReportBand* band(const char* name) const;
    // The element of that name; an error when there is none of that kind.
    template <class T = vok::ReportElement> T* element(const char* name) const {
        T* e = qobject_cast<T*>(ReportLayout::element(*bandedReport, QLatin1String(name)));
        if (!e)
            throw vok::DatabaseError(QStringLiteral("The report has no element %1 of that kind")
                                         .arg(QLatin1String(name)));
        return e;
    }

protected:
    ReportForm(ProjectData* dm, const char* name, const QString& title, const vok::PageSetup& setup,
               QObject* parent);

    // Makes the bands and elements; the label named titleLabel prints the report's title.
    void build(std::span<const BandDef> bands, std::span<const ElementDef> elements,
               const char* titleLabel = nullptr);
    // The label that prints the report's title: the preview, the print job and the PDF carry
    // its text, in the language it was given.
    void titledBy(const char* label);
    // Makes this a report of the chosen project, which opens these record-sets for a run.
    void filterOnChosenProject(QList<vok::Table*> opened = {});

    ProjectData* dm_;
    QList<QStringList> printed_;

private:
    void within(const std::function<void()>& action);

    bool filtered_ = false;
    QList<vok::Table*> opened_;
};

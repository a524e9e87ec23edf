#pragma once

#include "reportform.h"

#include <QDate>
#include <QStringList>
#include <optional>
#include <vector>

namespace vok {
class Field;
}

// A report of the rows of one project whose period lies within a date range, with their total:
// what the time sheet and the cost reports share. A page header with the project's data and
// the column headings, an empty gap per project, one row per record that passes the row test
// (the sub-detail `QRSubDetail1`, offered once with empty fields when the project has none),
// and the total of the rows printed.
class PeriodReport : public ReportForm {
    Q_OBJECT
public:
    // printedRows(): one row per record printed (not the empty row of a project without any).

    // A column of the spreadsheet rows: the project's name, or a field of the row.
    struct CsvColumn {
        const char* heading;
        const char* field; // none: the project's name
    };

    // What a report adds up, and where: the heading of its column (ending at 187.3 mm like the
    // total), the caption of the total and where it ends, and where the total's box begins.
    struct Total {
        const char* heading;
        const char* caption;
        qreal captionRight;
        const char* field;
        qreal left;
        const char* mask = nullptr;
    };

    // A column of a row, in a box of fixed width that cuts off what does not fit.
    static ElementDef column(const char* name, DataSet dataset, const char* field, qreal left,
                             qreal width, Qt::Alignment align = Qt::AlignLeft);

protected:
    // `prefix` names the row's dates: prefix + "_date_from" and prefix + "_date_to". The
    // report's own headings and columns come in `elements`.
    PeriodReport(ProjectData* dm, const char* name, const char* title, DataSet rows,
                 const char* prefix, const Total& total, std::span<const ElementDef> elements,
                 std::span<const CsvColumn> columns, QObject* parent);

    // At the start of a run: read the choices the rows are tested against.
    virtual void readOptions() = 0;
    // Whether the current row prints; a row left out adds nothing to the total.
    virtual bool rowPasses() const = 0;
    // The row's whole period lies within the bounds, both included; a bound not given is
    // ignored. An empty row date counts as 30 December 1899.
    bool withinPeriod(const std::optional<QDate>& from, const std::optional<QDate>& to) const;

private:
    void rowBandBeforePrint(bool& PrintBand);
    QStringList csvRow() const;

    vok::Table* rows_;
    vok::Field* dateFrom_;
    vok::Field* dateTo_;
    std::vector<CsvColumn> columns_;
};

#include "costreport.h"

#include "data/projectdata.h"

namespace {

const DataSet rowSet = &ProjectData::ProjectCost;

const ElementDef elements[] = {
    ReportLayout::label("QRBand1", "QRLabel4", "Major Activity", {58.7, 31.8},
                        ReportParts::heading()),
    ReportLayout::label("QRBand1", "QRLabel5", "Action", {94.7, 31.8}, ReportParts::heading()),
    PeriodReport::column("QRDBText6", rowSet, "ProjectCost_date_from", 4.0, 19.3),
    PeriodReport::column("QRDBText7", rowSet, "ProjectCost_date_to", 27.3, 19.3),
    PeriodReport::column("QRDBText8", rowSet, "majorname", 59.0, 34.1),
    PeriodReport::column("QRDBText9", rowSet, "actionname", 94.7, 38.4),
    PeriodReport::column("QRDBText10", rowSet, "ProjectCost_Amount", 162.5, 25.7, Qt::AlignRight),
};

// Grouped, always two decimals, a negative total in parentheses.
const PeriodReport::Total total{.heading = "Amount",
                                .caption = "Total",
                                .captionRight = 154.5,
                                .field = "ProjectCost_Amount",
                                .left = 162.5,
                                .mask = "###,###,##0.00;(###,###,##0.00)"};

const PeriodReport::CsvColumn csvColumns[] = {
    {"Project", nullptr},
    {"From date", "ProjectCost_date_from"},
    {"To date", "ProjectCost_date_to"},
    {"Major activity", "majorname"},
    {"Action", "actionname"},
    {"Amount", "ProjectCost_Amount"},
};

} // namespace

CostReport::CostReport(ProjectData* dm, std::function<CostOptions()> options, QObject* parent)
    : PeriodReport(dm, "Form21", "Cost Entries Report", rowSet, "ProjectCost", total, elements,
                   csvColumns, parent),
      options_(std::move(options)) {}

void CostReport::readOptions() {
    current_ = options_();
}

bool CostReport::rowPasses() const {
    return withinPeriod(current_.from, current_.to);
}

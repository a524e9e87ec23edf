#include "tform21.h"

#include "data/tdatamodule2.h"

namespace {

using Kind = ElementSpec::Kind;

const vok::ReportFont bold = ReportParts::arial(10, true);
const vok::ReportFont heading = ReportParts::arial(10, true, true);

// A column of a cost row, in a box of fixed width that cuts off what does not fit.
ElementSpec column(const char* name, const char* field, qreal left, qreal width,
                   Qt::Alignment align = Qt::AlignLeft) {
    return {.band = "QRSubDetail1",
            .name = name,
            .kind = Kind::Field,
            .dataset = &TDataModule2::ProjectCost,
            .field = field,
            .box = {left, 0, width, 4.5},
            .align = align};
}

const ElementSpec elements[] = {
    {.band = "QRBand1",
     .name = "QRLabel12",
     .text = "Cost Entries Report",
     .box = {0, 2.1, 0, 0},
     .font = ReportParts::arial(14, true),
     .centred = true},
    {.band = "QRBand1",
     .name = "QRLabel4",
     .text = "Major Activity",
     .box = {58.7, 31.8, 0, 0},
     .font = heading},
    {.band = "QRBand1",
     .name = "QRLabel5",
     .text = "Action",
     .box = {94.7, 31.8, 0, 0},
     .font = heading},
    {.band = "QRBand1",
     .name = "QRLabel6",
     .text = "Amount",
     .box = {0, 31.8, 187.3, 0},
     .font = heading,
     .align = Qt::AlignRight,
     .fit = true},
    column("QRDBText6", "ProjectCost_date_from", 4.0, 19.3),
    column("QRDBText7", "ProjectCost_date_to", 27.3, 19.3),
    column("QRDBText8", "majorname", 59.0, 34.1),
    column("QRDBText9", "actionname", 94.7, 38.4),
    column("QRDBText10", "ProjectCost_Amount", 162.5, 25.7, Qt::AlignRight),
    {.band = "QRBand3",
     .name = "QRLabel7",
     .text = "Total",
     .box = {0, 4.2, 154.5, 0},
     .font = bold,
     .align = Qt::AlignRight,
     .fit = true},
    {.band = "QRBand3",
     .name = "QRExpr1",
     .kind = Kind::Sum,
     .dataset = &TDataModule2::ProjectCost,
     .field = "ProjectCost_Amount",
     .box = {162.5, 4.2, 187.3 - 162.5, 0},
     .align = Qt::AlignRight,
     .sumOf = "QRSubDetail1",
     .mask = "###,###,##0.00;(###,###,##0.00)"},
};

const PeriodReport::CsvColumn csvColumns[] = {
    {"Project", nullptr},
    {"From date", "ProjectCost_date_from"},
    {"To date", "ProjectCost_date_to"},
    {"Major activity", "majorname"},
    {"Action", "actionname"},
    {"Amount", "ProjectCost_Amount"},
};

} // namespace

TForm21::TForm21(TDataModule2* dm, std::function<CostOptions()> options, QObject* parent)
    : PeriodReport(dm, "Form21", QStringLiteral("Cost Entries Report"), &TDataModule2::ProjectCost,
                   "ProjectCost", elements, csvColumns, parent),
      options_(std::move(options)) {}

void TForm21::readOptions() {
    current_ = options_();
}

bool TForm21::rowPasses() const {
    return withinPeriod(current_.from, current_.to);
}

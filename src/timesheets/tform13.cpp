#include "tform13.h"

#include "data/tdatamodule2.h"
#include "framework/dataset/table.h"

namespace {

using Kind = ElementSpec::Kind;

const vok::ReportFont bold = ReportParts::arial(10, true);
const vok::ReportFont heading = ReportParts::arial(10, true, true);

// A column of a time sheet row, in a box of fixed width that cuts off what does not fit.
ElementSpec column(const char* name, const char* field, qreal left, qreal width,
                   Qt::Alignment align = Qt::AlignLeft) {
    return {.band = "QRSubDetail1",
            .name = name,
            .kind = Kind::Field,
            .dataset = &TDataModule2::ProjectTS,
            .field = field,
            .box = {left, 0, width, 4.5},
            .align = align};
}

const ElementSpec elements[] = {
    {.band = "QRBand1",
     .name = "QRLabel12",
     .text = "Time Sheet Report",
     .box = {0, 2.1, 0, 0},
     .font = ReportParts::arial(14, true),
     .centred = true},
    {.band = "QRBand1",
     .name = "QRLabel3",
     .text = "Team Member",
     .box = {50.8, 31.8, 0, 0},
     .font = heading},
    {.band = "QRBand1",
     .name = "QRLabel4",
     .text = "Major Activity",
     .box = {94.7, 31.8, 0, 0},
     .font = heading},
    {.band = "QRBand1",
     .name = "QRLabel5",
     .text = "Action",
     .box = {130.7, 31.8, 0, 0},
     .font = heading},
    {.band = "QRBand1",
     .name = "QRLabel6",
     .text = "Hours",
     .box = {0, 31.8, 187.3, 0},
     .font = heading,
     .align = Qt::AlignRight,
     .fit = true},
    column("QRDBText6", "ProjectTS_date_from", 4.0, 19.3),
    column("QRDBText7", "ProjectTS_date_to", 27.3, 19.3),
    column("QRDBText8", "ProjectTS_member", 50.5, 42.6),
    column("QRDBText9", "MajorName", 95.0, 34.1),
    column("QRDBText10", "ActionName", 130.7, 38.4),
    column("QRDBText11", "ProjectTS_hours", 171.2, 16.9, Qt::AlignRight),
    {.band = "QRBand3",
     .name = "QRLabel7",
     .text = "Total Hours",
     .box = {0, 4.2, 165.1, 0},
     .font = bold,
     .align = Qt::AlignRight,
     .fit = true},
    {.band = "QRBand3",
     .name = "QRExpr1",
     .kind = Kind::Sum,
     .dataset = &TDataModule2::ProjectTS,
     .field = "ProjectTS_hours",
     .box = {168.8, 4.2, 187.3 - 168.8, 0},
     .align = Qt::AlignRight,
     .sumOf = "QRSubDetail1"},
};

const PeriodReport::CsvColumn csvColumns[] = {
    {"Project", nullptr},
    {"From date", "ProjectTS_date_from"},
    {"To date", "ProjectTS_date_to"},
    {"Team member", "ProjectTS_member"},
    {"Major activity", "MajorName"},
    {"Action", "ActionName"},
    {"Hours", "ProjectTS_hours"},
};

} // namespace

TForm13::TForm13(TDataModule2* dm, std::function<TimeSheetOptions()> options, QObject* parent)
    : PeriodReport(dm, "Form13", QStringLiteral("Time Sheet Report"), &TDataModule2::ProjectTS,
                   "ProjectTS", elements, csvColumns, parent),
      options_(std::move(options)),
      member_(&dm->ProjectTS->fieldByName(QStringLiteral("ProjectTS_member"))) {}

void TForm13::readOptions() {
    current_ = options_();
}

bool TForm13::rowPasses() const {
    if (!withinPeriod(current_.from, current_.to))
        return false;
    return !current_.member || member_->asString() == *current_.member;
}

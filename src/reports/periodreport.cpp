#include "periodreport.h"

#include "data/tdatamodule2.h"
#include "framework/dataset/table.h"
#include "framework/report/report.h"

namespace {

using Kind = ElementSpec::Kind;
using BandKind = vok::ReportBand::Kind;

const BandSpec bands[] = {
    {.name = "QRBand1", .kind = BandKind::PageHeader, .height = 36.2},
    {.name = "QRBand2",
     .kind = BandKind::Detail,
     .height = 2.1,
     .dataset = &TDataModule2::projects,
     .printIfEmpty = true},
    // Its record-set is the report's own; set when the report is made.
    {.name = "QRSubDetail1",
     .kind = BandKind::SubDetail,
     .height = 6.3,
     .master = "QRBand2",
     .printIfEmpty = true},
    {.name = "QRBand3", .kind = BandKind::Summary, .height = 10.6},
};

const vok::ReportFont plain = ReportParts::arial(10);
const vok::ReportFont bold = ReportParts::arial(10, true);
const vok::ReportFont heading = ReportParts::arial(10, true, true);

// A pen 3 pixels of the screen wide, in millimetres.
constexpr qreal totalPen = 3 * 25.4 / 96;

// The page header's project data and the headings of the two date columns, and the line over
// the total.
const ElementSpec elements[] = {
    {.band = "QRBand1",
     .name = "QRSysData1",
     .kind = Kind::Date,
     .text = "Date: ",
     .box = {2.1, 2.1, 0, 0}},
    {.band = "QRBand1",
     .name = "QRSysData2",
     .kind = Kind::PageNumber,
     .text = "Page # ",
     .box = {0, 2.1, 187.6, 0},
     .align = Qt::AlignRight},
    {.band = "QRBand1",
     .name = "QRDBText1",
     .kind = Kind::Field,
     .dataset = &TDataModule2::projects,
     .field = "Zel_project",
     .box = {0, 8.5, 0, 0},
     .centred = true},
    {.band = "QRBand1",
     .name = "QRDBText2",
     .kind = Kind::Field,
     .dataset = &TDataModule2::projects,
     .field = "Zel_client",
     .box = {0, 13.8, 0, 0},
     .centred = true},
    {.band = "QRBand1",
     .name = "QRDBText3",
     .kind = Kind::Field,
     .dataset = &TDataModule2::projects,
     .field = "Zel_completed",
     .box = {0, 19.1, 0, 0},
     .centred = true},
    {.band = "QRBand1",
     .name = "QRLabel14",
     .text = "Start Date",
     .box = {2.1, 10.6, 0, 0},
     .font = bold},
    {.band = "QRBand1",
     .name = "QRDBText4",
     .kind = Kind::Field,
     .dataset = &TDataModule2::projects,
     .field = "Zel_date_from",
     .box = {29.6, 10.6, 0, 0}},
    {.band = "QRBand1",
     .name = "QRLabel15",
     .text = "End Date",
     .box = {2.1, 16.9, 0, 0},
     .font = bold},
    {.band = "QRBand1",
     .name = "QRDBText5",
     .kind = Kind::Field,
     .dataset = &TDataModule2::projects,
     .field = "Zel_date_to",
     .box = {29.6, 16.9, 0, 0}},
    {.band = "QRBand1",
     .name = "QRLabel1",
     .text = "From date",
     .box = {4.2, 31.8, 0, 0},
     .font = heading},
    {.band = "QRBand1",
     .name = "QRLabel2",
     .text = "To Date",
     .box = {27.5, 31.8, 0, 0},
     .font = heading},
    // Its pen lies within the band's top edge.
    {.band = "QRBand3",
     .name = "QRShape1",
     .kind = Kind::HorizontalLine,
     .box = {170.9, 0, 188.1 - 170.9, totalPen},
     .penWidth = totalPen},
};

QString csvValue(const vok::Field& f) {
    if (f.isNull())
        return {};
    switch (f.type()) {
    case vok::FieldType::Date:
        return f.asDate().toString(Qt::ISODate);
    case vok::FieldType::Currency:
        return QString::number(f.asFloat(), 'f', 2);
    case vok::FieldType::Float:
        return QString::number(f.asFloat(), 'g', 15);
    default:
        return f.asString();
    }
}

} // namespace

PeriodReport::PeriodReport(TDataModule2* dm, const char* name, const QString& title, DataSet rows,
                           const char* prefix, std::span<const ElementSpec> own,
                           std::span<const CsvColumn> columns, QObject* parent)
    : ReportForm(dm, name, title, ReportParts::letter(vok::PageSetup::Unit::Millimetre, 12.7),
                 parent),
      rows_(dm->*rows),
      dateFrom_(&rows_->fieldByName(QLatin1String(prefix) + QStringLiteral("_date_from"))),
      dateTo_(&rows_->fieldByName(QLatin1String(prefix) + QStringLiteral("_date_to"))),
      columns_(columns.begin(), columns.end()) {
    build(bands, elements);
    band("QRSubDetail1")->setDataset(rows_);
    ReportLayout::addElements(*QuickRep1, *dm_, own);
    filterOnChosenProject({rows_});

    QuickRep1->beforePrint = [this](vok::Report&) {
        printed_.clear();
        QStringList headings;
        for (const CsvColumn& c : columns_)
            headings << QLatin1String(c.heading);
        printed_ << headings;
        readOptions();
    };
    band("QRSubDetail1")->beforePrint = [this](vok::ReportBand&, bool& print) {
        QRSubDetail1BeforePrint(print);
    };
}

bool PeriodReport::withinPeriod(const std::optional<QDate>& from,
                                const std::optional<QDate>& to) const {
    if (from && *from > dateFrom_->asDate())
        return false;
    return !(to && *to < dateTo_->asDate());
}

void PeriodReport::QRSubDetail1BeforePrint(bool& PrintBand) {
    PrintBand = rowPasses();
    if (PrintBand && !rows_->eof())
        printed_ << csvRow();
}

QStringList PeriodReport::csvRow() const {
    QStringList row;
    for (const CsvColumn& c : columns_) {
        row << (c.field ? csvValue(rows_->fieldByName(QLatin1String(c.field)))
                        : dm_->projects->fieldByName(QStringLiteral("Zel_project")).asString());
    }
    return row;
}

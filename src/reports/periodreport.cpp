#include "periodreport.h"

#include "data/projectdata.h"
#include "framework/dataset/table.h"
#include "framework/report/report.h"

namespace {

using Kind = ElementDef::Kind;
using BandKind = vok::ReportBand::Kind;

const BandDef bands[] = {
    {.name = "QRBand1", .kind = BandKind::PageHeader, .height = 36.2},
    {.name = "QRBand2",
     .kind = BandKind::Detail,
     .height = 2.1,
     .dataset = &ProjectData::projects,
     .printIfEmpty = true},
    // Its record-set is the report's own; set when the report is made.
    {.name = "QRSubDetail1",
     .kind = BandKind::SubDetail,
     .height = 6.3,
     .master = "QRBand2",
     .printIfEmpty = true},
    {.name = "QRBand3", .kind = BandKind::Summary, .height = 10.6},
};

// A pen 3 pixels of the screen wide, in millimetres.
constexpr qreal totalPen = 3 * 25.4 / 96;

// The page header's project data and the headings of the two date columns, and the line over
// the total.
using L = ReportLayout;

const ElementDef elements[] = {
    L::runDate("QRBand1", "QRSysData1", Kind::Date, "Date: ", {2.1, 2.1}),
    L::pageNumber("QRBand1", "QRSysData2", "Page # ", 187.6, 2.1),
    L::centredField("QRBand1", "QRDBText1", &ProjectData::projects, "Zel_project", 8.5),
    L::centredField("QRBand1", "QRDBText2", &ProjectData::projects, "Zel_client", 13.8),
    L::centredField("QRBand1", "QRDBText3", &ProjectData::projects, "Zel_completed", 19.1),
    L::label("QRBand1", "QRLabel14", "Start Date", {2.1, 10.6}, ReportParts::bold()),
    L::field("QRBand1", "QRDBText4", &ProjectData::projects, "Zel_date_from", {29.6, 10.6, 0, 0}),
    L::label("QRBand1", "QRLabel15", "End Date", {2.1, 16.9}, ReportParts::bold()),
    L::field("QRBand1", "QRDBText5", &ProjectData::projects, "Zel_date_to", {29.6, 16.9, 0, 0}),
    L::label("QRBand1", "QRLabel1", "From date", {4.2, 31.8}, ReportParts::heading()),
    L::label("QRBand1", "QRLabel2", "To Date", {27.5, 31.8}, ReportParts::heading()),
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

namespace {

// The title, the heading of the added-up column, and the total with its caption.
std::vector<ElementDef> titleAndTotal(const char* title, DataSet rows,
                                      const PeriodReport::Total& total) {
    const auto rightAligned = [](const char* band, const char* name, const char* text, QRectF box,
                                 const vok::ReportFont& font) {
        return ElementDef{.band = band,
                          .name = name,
                          .text = text,
                          .box = box,
                          .font = font,
                          .align = Qt::AlignRight,
                          .fit = true};
    };
    return {L::title("QRBand1", "QRLabel12", title, 2.1, 14),
            rightAligned("QRBand1", "QRLabel6", total.heading, {0, 31.8, 187.3, 0},
                         ReportParts::heading()),
            rightAligned("QRBand3", "QRLabel7", total.caption, {0, 4.2, total.captionRight, 0},
                         ReportParts::bold()),
            {.band = "QRBand3",
             .name = "QRExpr1",
             .kind = Kind::Sum,
             .dataset = rows,
             .field = total.field,
             .box = {total.left, 4.2, 187.3 - total.left, 0},
             .align = Qt::AlignRight,
             .sumOf = "QRSubDetail1",
             .mask = total.mask}};
}

} // namespace

PeriodReport::PeriodReport(ProjectData* dm, const char* name, const char* title, DataSet rows,
                           const char* prefix, const Total& total, std::span<const ElementDef> own,
                           std::span<const CsvColumn> columns, QObject* parent)
    : ReportForm(dm, name, QString::fromUtf8(title),
                 ReportParts::letter(vok::PageSetup::Unit::Millimetre, 12.7), parent),
      rows_(dm->*rows),
      dateFrom_(&rows_->fieldByName(QLatin1String(prefix) + QStringLiteral("_date_from"))),
      dateTo_(&rows_->fieldByName(QLatin1String(prefix) + QStringLiteral("_date_to"))),
      columns_(columns.begin(), columns.end()) {
    build(bands, elements);
    band("QRSubDetail1")->setDataset(rows_);
    ReportLayout::addElements(*bandedReport, *dm_, titleAndTotal(title, rows, total));
    titledBy("QRLabel12");
    ReportLayout::addElements(*bandedReport, *dm_, own);
    filterOnChosenProject({rows_});

    bandedReport->beforePrint = [this](vok::Report&) {
        printed_.clear();
        QStringList headings;
        for (const CsvColumn& c : columns_)
            headings << QLatin1String(c.heading);
        printed_ << headings;
        readOptions();
    };
    band("QRSubDetail1")->beforePrint = [this](vok::ReportBand&, bool& print) {
        rowBandBeforePrint(print);
    };
}

ElementDef PeriodReport::column(const char* name, DataSet dataset, const char* field, qreal left,
                                qreal width, Qt::Alignment align) {
    return L::field("QRSubDetail1", name, dataset, field, {left, 0, width, 4.5}, align);
}

bool PeriodReport::withinPeriod(const std::optional<QDate>& from,
                                const std::optional<QDate>& to) const {
    if (from && *from > dateFrom_->asDate())
        return false;
    return !(to && *to < dateTo_->asDate());
}

void PeriodReport::rowBandBeforePrint(bool& PrintBand) {
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

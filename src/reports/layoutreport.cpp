#include "layoutreport.h"

#include "data/projectdata.h"

namespace {

using Kind = ElementDef::Kind;
using BandKind = vok::ReportBand::Kind;

const BandDef bands[] = {
    {.name = "QRBand1", .kind = BandKind::PageHeader, .height = 73},
    {.name = "QRBand2",
     .kind = BandKind::Detail,
     .height = 0,
     .dataset = &ProjectData::projects,
     .printIfEmpty = true},
    {.name = "QRSubDetail1",
     .kind = BandKind::SubDetail,
     .height = 17,
     .dataset = &ProjectData::Major,
     .master = "QRBand2",
     .printIfEmpty = true},
    {.name = "QRSubDetail2",
     .kind = BandKind::SubDetail,
     .height = 17,
     .dataset = &ProjectData::Action,
     .master = "QRSubDetail1",
     .printIfEmpty = true},
};

// A line through the centre of its box.
ElementDef line(const char* band, const char* name, Kind kind, QRectF box) {
    return {.band = band, .name = name, .kind = kind, .box = box};
}

// A name in a fixed box one line high: of a long name only the first line shows.
ElementDef name(const char* band, const char* element, DataSet dataset, const char* field,
                QRectF box, bool underlined) {
    return {.band = band,
            .name = element,
            .kind = Kind::Field,
            .dataset = dataset,
            .field = field,
            .box = box,
            .wordWrap = true,
            .frameBottom = underlined};
}

const ElementDef elements[] = {
    ReportLayout::title("QRBand1", "QRLabel1", "Project Layout Report", 8, 14),
    ReportLayout::runDate("QRBand1", "QRSysData1", Kind::Date, "Date: ", {6, 8}),
    ReportLayout::pageNumber("QRBand1", "QRSysData2", "Page #", 715, 8),
    name("QRBand1", "QRDBText1", &ProjectData::projects, "Zel_project", {8, 56, 199, 17}, true),
    // Continues the project's underline to the trunk.
    line("QRBand1", "QRShape4", Kind::HorizontalLine, {206, 63, 58, 17}),

    line("QRSubDetail1", "QRShape1", Kind::VerticalLine, {262, 0, 3, 17}),
    name("QRSubDetail1", "MajorName", &ProjectData::Major, "Major_item", {272, 0, 179, 17}, true),
    // Continues the major activity's underline to its actions' line.
    line("QRSubDetail1", "MajorLine", Kind::HorizontalLine, {451, 8, 46, 17}),

    line("QRSubDetail2", "QRShape3", Kind::VerticalLine, {262, 0, 3, 17}),
    line("QRSubDetail2", "QRShape2", Kind::VerticalLine, {494, 0, 3, 17}),
    name("QRSubDetail2", "QRDBText2", &ProjectData::Action, "Action_name", {504, 0, 199, 17},
         false),
};

} // namespace

LayoutReport::LayoutReport(ProjectData* dm, QObject* parent)
    : ReportForm(dm, "Form9", QStringLiteral("Project Layout Report"),
                 ReportParts::letter(vok::PageSetup::Unit::Inch96, 48), parent) {
    build(bands, elements, "QRLabel1");
    filterOnChosenProject();
}

#include "contactlistreport.h"

#include "data/projectdata.h"

namespace {

using Kind = ElementDef::Kind;
using BandKind = vok::ReportBand::Kind;

const BandDef bands[] = {
    {.name = "QRBand1", .kind = BandKind::PageHeader, .height = 89},
    {.name = "QRBand2",
     .kind = BandKind::Detail,
     .height = 152,
     .dataset = &ProjectData::Contacts,
     .printIfEmpty = true,
     .frameBottom = true},
};

// A field of the contact, in a box that ends short of the next column.
ElementDef contact(const char* name, const char* field, qreal x, qreal y, qreal width) {
    return ReportLayout::field("QRBand2", name, &ProjectData::Contacts, field, {x, y, width, 0});
}

ElementDef caption(const char* name, const char* text, qreal x) {
    return ReportLayout::label("QRBand1", name, text, {x, 72}, ReportParts::heading());
}

// The captions are English in every language.
const ElementDef elements[] = {
    ReportLayout::title("QRBand1", "QRLabel1", "Contact List", 8, 16),
    ReportLayout::runDate("QRBand1", "QRSysData1", Kind::DateTime, "Date: ", {8, 8}),
    ReportLayout::pageNumber("QRBand1", "QRSysData2", "Page: ", 710, 8),
    ReportLayout::centredField("QRBand1", "QRDBText1", &ProjectData::projects, "Zel_project", 40),
    caption("QRLabel2", "Contact name", 8),
    caption("QRLabel3", "Title", 192),
    caption("QRLabel4", "Telephone", 368),
    caption("QRLabel5", "Email", 552),
    contact("QRDBText2", "ProjectContact_name", 8, 8, 176),
    contact("QRDBText3", "ProjectContact_title", 192, 8, 168),
    contact("QRDBText4", "ProjectContact_tel", 368, 8, 104),
    contact("QRDBText5", "ProjectContact_ext", 480, 8, 57),
    contact("QRDBText6", "ProjectContact_email", 552, 8, 168),
    contact("QRDBText7", "ProjectContact_adr1", 32, 32, 400),
    contact("QRDBText8", "ProjectContact_adr2", 32, 50, 400),
    contact("QRDBText9", "ProjectContact_City", 32, 69, 400),
    contact("QRDBText10", "ProjectContact_State", 32, 87, 400),
    contact("QRDBText11", "ProjectContact_Country", 32, 106, 400),
    contact("QRDBText12", "ProjectContact_PCode", 32, 124, 400),
};

} // namespace

ContactListReport::ContactListReport(ProjectData* dm, QObject* parent)
    : ReportForm(dm, "Form22", QStringLiteral("Contact List"),
                 ReportParts::letter(vok::PageSetup::Unit::Inch96, 48), parent) {
    build(bands, elements, "QRLabel1");
}

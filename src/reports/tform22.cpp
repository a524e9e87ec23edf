#include "tform22.h"

#include "data/tdatamodule2.h"
#include "framework/ui/guard.h"

#include <QAbstractButton>

namespace {

using Kind = ElementSpec::Kind;
using BandKind = vok::ReportBand::Kind;

const BandSpec bands[] = {
    {.name = "QRBand1", .kind = BandKind::PageHeader, .height = 89},
    {.name = "QRBand2",
     .kind = BandKind::Detail,
     .height = 152,
     .dataset = &TDataModule2::Contacts,
     .printIfEmpty = true,
     .frameBottom = true},
};

const vok::ReportFont heading = ReportParts::arial(10, true, true);

// A field of the contact, in a box that ends short of the next column.
ElementSpec contact(const char* name, const char* field, qreal x, qreal y, qreal width) {
    return {.band = "QRBand2",
            .name = name,
            .kind = Kind::Field,
            .dataset = &TDataModule2::Contacts,
            .field = field,
            .box = {x, y, width, 0}};
}

// The captions are English in every language.
const ElementSpec elements[] = {
    {.band = "QRBand1",
     .name = "QRLabel1",
     .text = "Contact List",
     .box = {0, 8, 0, 0},
     .font = ReportParts::arial(16, true),
     .centred = true},
    {.band = "QRBand1",
     .name = "QRSysData1",
     .kind = Kind::DateTime,
     .text = "Date: ",
     .box = {8, 8, 0, 0}},
    {.band = "QRBand1",
     .name = "QRSysData2",
     .kind = Kind::PageNumber,
     .text = "Page: ",
     .box = {0, 8, 710, 0},
     .align = Qt::AlignRight},
    {.band = "QRBand1",
     .name = "QRDBText1",
     .kind = Kind::Field,
     .dataset = &TDataModule2::projects,
     .field = "Zel_project",
     .box = {0, 40, 0, 0},
     .centred = true},
    {.band = "QRBand1",
     .name = "QRLabel2",
     .text = "Contact name",
     .box = {8, 72, 0, 0},
     .font = heading},
    {.band = "QRBand1",
     .name = "QRLabel3",
     .text = "Title",
     .box = {192, 72, 0, 0},
     .font = heading},
    {.band = "QRBand1",
     .name = "QRLabel4",
     .text = "Telephone",
     .box = {368, 72, 0, 0},
     .font = heading},
    {.band = "QRBand1",
     .name = "QRLabel5",
     .text = "Email",
     .box = {552, 72, 0, 0},
     .font = heading},
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

TForm22::TForm22(TDataModule2* dm, QObject* parent)
    : ReportForm(dm, "Form22", QStringLiteral("Contact List"),
                 ReportParts::letter(vok::PageSetup::Unit::Inch96, 48), parent) {
    build(bands, elements);
}

void TForm22::connectButton(QAbstractButton* button, std::function<void()> positionOnProject) {
    connect(button, &QAbstractButton::clicked, this,
            [this, position = std::move(positionOnProject)] {
                vok::Guard::run([&] {
                    if (position)
                        position();
                    SpeedButton9Click();
                });
            });
}

void TForm22::SpeedButton9Click() {
    print(false);
}

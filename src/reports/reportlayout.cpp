#include "reportlayout.h"

#include "reportparts.h"

#include "data/projectdata.h"
#include "framework/dataset/databaseerror.h"
#include "framework/report/report.h"
#include "framework/report/reportfieldtext.h"
#include "framework/report/reportshape.h"
#include "framework/report/reportsum.h"
#include "framework/report/reportsysdata.h"

using vok::ReportBand;
using vok::ReportLabel;
using vok::ReportShape;
using vok::ReportSysData;

namespace {

vok::Table* tableOf(ProjectData& dm, DataSet dataset) {
    return dataset ? dm.*dataset : nullptr;
}

void setText(ReportLabel* label, const ElementDef& def) {
    label->setText(QString::fromUtf8(def.text));
    label->setFont(def.font);
    label->setGeometry(def.box.x(), def.box.y(), def.box.width(), def.box.height());
    label->setAutoSize(def.fit || def.box.width() <= 0);
    label->setAlignment(def.centred ? Qt::AlignHCenter : def.align);
    label->setAlignToBand(def.centred);
    label->setWordWrap(def.wordWrap);
    label->setFrameBottom(def.frameBottom);
}

ReportShape* makeShape(ReportBand* band, const ElementDef& def, ReportShape::Shape kind) {
    auto* shape = new ReportShape(band, kind, QLatin1String(def.name));
    shape->setGeometry(def.box.x(), def.box.y(), def.box.width(), def.box.height());
    shape->setBrushColor(def.fill);
    shape->setPenColor(def.pen);
    shape->setPenStyle(def.penStyle);
    shape->setPenWidth(def.penWidth);
    return shape;
}

ReportSysData* makeSysData(ReportBand* band, const ElementDef& def, ReportSysData::Data data) {
    auto* s = new ReportSysData(band, data, QLatin1String(def.name));
    setText(s, def);
    s->setAutoSize(true); // what it prints is not known before the run
    return s;
}

} // namespace

ElementDef ReportLayout::label(const char* band, const char* name, const char* text, QPointF at,
                               const vok::ReportFont& font) {
    return {.band = band, .name = name, .text = text, .box = {at, QSizeF()}, .font = font};
}

ElementDef ReportLayout::field(const char* band, const char* name, DataSet dataset,
                               const char* field, QRectF box, Qt::Alignment align) {
    return {.band = band,
            .name = name,
            .kind = ElementDef::Kind::Field,
            .dataset = dataset,
            .field = field,
            .box = box,
            .align = align};
}

ElementDef ReportLayout::centredField(const char* band, const char* name, DataSet dataset,
                                      const char* field, qreal y) {
    ElementDef e = ReportLayout::field(band, name, dataset, field, {0, y, 0, 0});
    e.centred = true;
    return e;
}

ElementDef ReportLayout::title(const char* band, const char* name, const char* text, qreal y,
                               qreal size) {
    return {.band = band,
            .name = name,
            .text = text,
            .box = {0, y, 0, 0},
            .font = ReportParts::arial(size, true),
            .centred = true};
}

ElementDef ReportLayout::runDate(const char* band, const char* name, ElementDef::Kind kind,
                                 const char* prefix, QPointF at, const vok::ReportFont& font) {
    return {.band = band,
            .name = name,
            .kind = kind,
            .text = prefix,
            .box = {at, QSizeF()},
            .font = font};
}

ElementDef ReportLayout::pageNumber(const char* band, const char* name, const char* prefix,
                                    qreal right, qreal y) {
    return {.band = band,
            .name = name,
            .kind = ElementDef::Kind::PageNumber,
            .text = prefix,
            .box = {0, y, right, 0},
            .align = Qt::AlignRight};
}

void ReportLayout::addBands(vok::Report& report, ProjectData& dm, std::span<const BandDef> bands) {
    for (const BandDef& def : bands) {
        ReportBand* b = report.addBand(def.kind, QLatin1String(def.name), def.height);
        b->setDataset(tableOf(dm, def.dataset));
        b->setPrintIfEmpty(def.printIfEmpty);
        b->setForceNewPage(def.forceNewPage);
        b->setFrameBottom(def.frameBottom);
        b->setCancelsSubDetails(def.cancelsSubDetails);
        b->setKeepWithNext(def.keepWithNext);
    }
    // Masters and headers may come later in the table than the bands that name them.
    for (const BandDef& def : bands) {
        ReportBand* b = band(report, def.name);
        if (def.master)
            b->setMaster(band(report, def.master));
        if (def.header)
            b->setHeader(band(report, def.header));
    }
}

void ReportLayout::addElements(vok::Report& report, ProjectData& dm,
                               std::span<const ElementDef> elements) {
    using Kind = ElementDef::Kind;
    for (const ElementDef& def : elements) {
        ReportBand* b = def.band ? band(report, def.band) : report.pageLevel();
        const QString name = QLatin1String(def.name);
        switch (def.kind) {
        case Kind::Label:
            setText(new ReportLabel(b, name), def);
            break;
        case Kind::Field: {
            auto* t = new vok::ReportFieldText(b, name);
            setText(t, def);
            t->setField(tableOf(dm, def.dataset), QLatin1String(def.field));
            t->setStretch(def.stretch);
            break;
        }
        case Kind::Date:
            makeSysData(b, def, ReportSysData::Data::Date);
            break;
        case Kind::DateTime:
            makeSysData(b, def, ReportSysData::Data::DateTime);
            break;
        case Kind::PageNumber:
            makeSysData(b, def, ReportSysData::Data::PageNumber);
            break;
        case Kind::Sum: {
            auto* s = new vok::ReportSum(b, name);
            setText(s, def);
            s->setExpression(tableOf(dm, def.dataset), QLatin1String(def.field));
            s->setAccumulateBand(band(report, def.sumOf));
            if (def.mask)
                s->setMask(QLatin1String(def.mask));
            break;
        }
        case Kind::Rectangle:
            makeShape(b, def, ReportShape::Shape::Rectangle);
            break;
        case Kind::HorizontalLine:
            makeShape(b, def, ReportShape::Shape::HorizontalLine);
            break;
        case Kind::VerticalLine:
            makeShape(b, def, ReportShape::Shape::VerticalLine);
            break;
        case Kind::TopAndBottomLines:
            makeShape(b, def, ReportShape::Shape::TopAndBottomLines);
            break;
        }
    }
}

ReportBand* ReportLayout::band(const vok::Report& report, const char* name) {
    auto* b = report.findChild<ReportBand*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
    if (!b)
        throw vok::DatabaseError(
            QStringLiteral("The report has no band %1").arg(QLatin1String(name)));
    return b;
}

vok::ReportElement* ReportLayout::element(const vok::Report& report, const QString& name) {
    auto* e = report.findChild<vok::ReportElement*>(name);
    if (!e)
        throw vok::DatabaseError(QStringLiteral("The report has no element %1").arg(name));
    return e;
}

#include "reportlayout.h"

#include "reportparts.h"

#include "data/tdatamodule2.h"
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

vok::Table* tableOf(TDataModule2& dm, DataSet dataset) {
    return dataset ? dm.*dataset : nullptr;
}

void setText(ReportLabel* label, const ElementSpec& spec) {
    label->setText(QString::fromUtf8(spec.text));
    label->setFont(spec.font);
    label->setGeometry(spec.box.x(), spec.box.y(), spec.box.width(), spec.box.height());
    label->setAutoSize(spec.fit || spec.box.width() <= 0);
    label->setAlignment(spec.centred ? Qt::AlignHCenter : spec.align);
    label->setAlignToBand(spec.centred);
    label->setWordWrap(spec.wordWrap);
    label->setFrameBottom(spec.frameBottom);
}

ReportShape* makeShape(ReportBand* band, const ElementSpec& spec, ReportShape::Shape kind) {
    auto* shape = new ReportShape(band, kind, QLatin1String(spec.name));
    shape->setGeometry(spec.box.x(), spec.box.y(), spec.box.width(), spec.box.height());
    shape->setBrushColor(spec.fill);
    shape->setPenColor(spec.pen);
    shape->setPenStyle(spec.penStyle);
    shape->setPenWidth(spec.penWidth);
    return shape;
}

ReportSysData* makeSysData(ReportBand* band, const ElementSpec& spec, ReportSysData::Data data) {
    auto* s = new ReportSysData(band, data, QLatin1String(spec.name));
    setText(s, spec);
    s->setAutoSize(true); // what it prints is not known before the run
    return s;
}

} // namespace

ElementSpec ReportLayout::label(const char* band, const char* name, const char* text, QPointF at,
                                const vok::ReportFont& font) {
    return {.band = band, .name = name, .text = text, .box = {at, QSizeF()}, .font = font};
}

ElementSpec ReportLayout::field(const char* band, const char* name, DataSet dataset,
                                const char* field, QRectF box, Qt::Alignment align) {
    return {.band = band,
            .name = name,
            .kind = ElementSpec::Kind::Field,
            .dataset = dataset,
            .field = field,
            .box = box,
            .align = align};
}

ElementSpec ReportLayout::centredField(const char* band, const char* name, DataSet dataset,
                                       const char* field, qreal y) {
    ElementSpec e = ReportLayout::field(band, name, dataset, field, {0, y, 0, 0});
    e.centred = true;
    return e;
}

ElementSpec ReportLayout::title(const char* band, const char* name, const char* text, qreal y,
                                qreal size) {
    return {.band = band,
            .name = name,
            .text = text,
            .box = {0, y, 0, 0},
            .font = ReportParts::arial(size, true),
            .centred = true};
}

ElementSpec ReportLayout::runDate(const char* band, const char* name, ElementSpec::Kind kind,
                                  const char* prefix, QPointF at, const vok::ReportFont& font) {
    return {.band = band,
            .name = name,
            .kind = kind,
            .text = prefix,
            .box = {at, QSizeF()},
            .font = font};
}

ElementSpec ReportLayout::pageNumber(const char* band, const char* name, const char* prefix,
                                     qreal right, qreal y) {
    return {.band = band,
            .name = name,
            .kind = ElementSpec::Kind::PageNumber,
            .text = prefix,
            .box = {0, y, right, 0},
            .align = Qt::AlignRight};
}

void ReportLayout::addBands(vok::Report& report, TDataModule2& dm,
                            std::span<const BandSpec> bands) {
    for (const BandSpec& spec : bands) {
        ReportBand* b = report.addBand(spec.kind, QLatin1String(spec.name), spec.height);
        b->setDataset(tableOf(dm, spec.dataset));
        b->setPrintIfEmpty(spec.printIfEmpty);
        b->setForceNewPage(spec.forceNewPage);
        b->setFrameBottom(spec.frameBottom);
        b->setCancelsSubDetails(spec.cancelsSubDetails);
    }
    // Masters and headers may come later in the table than the bands that name them.
    for (const BandSpec& spec : bands) {
        ReportBand* b = band(report, spec.name);
        if (spec.master)
            b->setMaster(band(report, spec.master));
        if (spec.header)
            b->setHeader(band(report, spec.header));
    }
}

void ReportLayout::addElements(vok::Report& report, TDataModule2& dm,
                               std::span<const ElementSpec> elements) {
    using Kind = ElementSpec::Kind;
    for (const ElementSpec& spec : elements) {
        ReportBand* b = spec.band ? band(report, spec.band) : report.pageLevel();
        const QString name = QLatin1String(spec.name);
        switch (spec.kind) {
        case Kind::Label:
            setText(new ReportLabel(b, name), spec);
            break;
        case Kind::Field: {
            auto* t = new vok::ReportFieldText(b, name);
            setText(t, spec);
            t->setField(tableOf(dm, spec.dataset), QLatin1String(spec.field));
            t->setStretch(spec.stretch);
            break;
        }
        case Kind::Date:
            makeSysData(b, spec, ReportSysData::Data::Date);
            break;
        case Kind::DateTime:
            makeSysData(b, spec, ReportSysData::Data::DateTime);
            break;
        case Kind::PageNumber:
            makeSysData(b, spec, ReportSysData::Data::PageNumber);
            break;
        case Kind::Sum: {
            auto* s = new vok::ReportSum(b, name);
            setText(s, spec);
            s->setExpression(tableOf(dm, spec.dataset), QLatin1String(spec.field));
            s->setAccumulateBand(band(report, spec.sumOf));
            if (spec.mask)
                s->setMask(QLatin1String(spec.mask));
            break;
        }
        case Kind::Rectangle:
            makeShape(b, spec, ReportShape::Shape::Rectangle);
            break;
        case Kind::HorizontalLine:
            makeShape(b, spec, ReportShape::Shape::HorizontalLine);
            break;
        case Kind::VerticalLine:
            makeShape(b, spec, ReportShape::Shape::VerticalLine);
            break;
        case Kind::TopAndBottomLines:
            makeShape(b, spec, ReportShape::Shape::TopAndBottomLines);
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

#include "reportshape.h"

namespace vok {

namespace {

ReportItem::Kind kindOf(ReportShape::Shape shape) {
    switch (shape) {
    case ReportShape::Shape::Rectangle:
        return ReportItem::Kind::Rectangle;
    case ReportShape::Shape::HorizontalLine:
        return ReportItem::Kind::HorizontalLine;
    case ReportShape::Shape::VerticalLine:
        return ReportItem::Kind::VerticalLine;
    case ReportShape::Shape::TopAndBottomLines:
        return ReportItem::Kind::TopAndBottomLines;
    }
    return ReportItem::Kind::Rectangle;
}

} // namespace

ReportShape::ReportShape(ReportBand* band, Shape shape, const QString& name)
    : ReportElement(band, name), shape_(shape) {}

ReportItem ReportShape::layOut(const ReportContext&) const {
    ReportItem item = baseItem(kindOf(shape_));
    item.fill = brush_;
    item.pen = pen_;
    item.penStyle = penStyle_;
    item.penWidth = penWidth_;
    return item;
}

} // namespace vok

#pragma once

#include "reportelement.h"

#include <QColor>

namespace vok {

// A rectangle (fill and outline), a horizontal or vertical line through the centre of its
// box, or a pair of lines along the top and bottom of its box.
class ReportShape : public ReportElement {
    Q_OBJECT
public:
    enum class Shape { Rectangle, HorizontalLine, VerticalLine, TopAndBottomLines };

    explicit ReportShape(ReportBand* band, Shape shape, const QString& name = {});

    Shape shape() const { return shape_; }
    void setShape(Shape shape) { shape_ = shape; }
    const QColor& brushColor() const { return brush_; }
    void setBrushColor(const QColor& color) { brush_ = color; }
    const QColor& penColor() const { return pen_; }
    void setPenColor(const QColor& color) { pen_ = color; }
    Qt::PenStyle penStyle() const { return penStyle_; }
    void setPenStyle(Qt::PenStyle style) { penStyle_ = style; }
    qreal penWidth() const { return penWidth_; }
    void setPenWidth(qreal width) { penWidth_ = width; }

    ReportItem layOut(const ReportContext& context) const override;

private:
    Shape shape_;
    QColor brush_ = Qt::white;
    QColor pen_ = Qt::black;
    Qt::PenStyle penStyle_ = Qt::SolidLine;
    qreal penWidth_ = 1;
};

} // namespace vok

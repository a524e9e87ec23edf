#pragma once

#include "reportfont.h"

#include <QColor>
#include <QLineF>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

namespace vok {

// One positioned thing on a laid-out page: a text or a shape, with everything needed to paint
// it. Positions are in the report's unit, measured from the paper's top-left corner.
struct ReportItem {
    enum class Kind { Text, Rectangle, HorizontalLine, VerticalLine, TopAndBottomLines };

    Kind kind = Kind::Text;
    QString id;   // the element's name, empty when it has none
    QString band; // the band's name; empty for page-level elements
    QRectF box;   // page coordinates
    QPointF bandPos;
    QRectF clip; // what the item may paint on: its band, or the paper
    bool visible = true;
    int tag = 0;

    // Texts.
    QString text;
    ReportFont font;
    QColor textColor = Qt::black;
    Qt::Alignment alignment = Qt::AlignLeft;
    bool wordWrap = false;
    bool opaque = true; // white background over the whole box
    bool frameBottom = false;
    bool overflows = false; // the text needs more room than its box, which cuts it off

    // Shapes (and the frame line of a text).
    QColor fill = Qt::white;
    QColor pen = Qt::black;
    Qt::PenStyle penStyle = Qt::SolidLine;
    qreal penWidth = 1;

    // The lines a shape or a framed text draws, in page coordinates: a line shape runs through
    // the centre of its box, from edge to edge.
    QList<QLineF> lines() const;

    static QString kindName(Kind kind);
    static QString penStyleName(Qt::PenStyle style);
};

} // namespace vok

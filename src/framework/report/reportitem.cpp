#include "reportitem.h"

namespace vok {

QList<QLineF> ReportItem::lines() const {
    switch (kind) {
    case Kind::HorizontalLine: {
        const qreal y = box.center().y();
        return {QLineF(box.left(), y, box.right(), y)};
    }
    case Kind::VerticalLine: {
        const qreal x = box.center().x();
        return {QLineF(x, box.top(), x, box.bottom())};
    }
    case Kind::TopAndBottomLines:
        return {QLineF(box.topLeft(), box.topRight()), QLineF(box.bottomLeft(), box.bottomRight())};
    case Kind::Text:
        if (frameBottom)
            return {QLineF(box.bottomLeft(), box.bottomRight())};
        return {};
    case Kind::Rectangle:
        return {};
    }
    return {};
}

QString ReportItem::kindName(Kind kind) {
    switch (kind) {
    case Kind::Text:
        return QStringLiteral("text");
    case Kind::Rectangle:
        return QStringLiteral("rectangle");
    case Kind::HorizontalLine:
        return QStringLiteral("horizontalLine");
    case Kind::VerticalLine:
        return QStringLiteral("verticalLine");
    case Kind::TopAndBottomLines:
        return QStringLiteral("topAndBottomLines");
    }
    return {};
}

QString ReportItem::penStyleName(Qt::PenStyle style) {
    switch (style) {
    case Qt::SolidLine:
        return QStringLiteral("solid");
    case Qt::DotLine:
        return QStringLiteral("dotted");
    case Qt::DashLine:
        return QStringLiteral("dashed");
    case Qt::NoPen:
        return QStringLiteral("none");
    default:
        return QStringLiteral("other");
    }
}

} // namespace vok

#include "reportpainter.h"

#include "framework/dataset/databaseerror.h"
#include "reportdocument.h"

#include <QPainter>
#include <QPrinter>

namespace vok {

namespace {

QRectF scaled(const QRectF& r, qreal s) {
    return QRectF(r.left() * s, r.top() * s, r.width() * s, r.height() * s);
}

QLineF scaled(const QLineF& l, qreal s) {
    return QLineF(l.p1() * s, l.p2() * s);
}

QPen penOf(const ReportItem& item, qreal s) {
    if (item.penStyle == Qt::NoPen)
        return QPen(Qt::NoPen);
    QPen pen(item.pen, std::max<qreal>(item.penWidth, 0.5) * s, item.penStyle, Qt::FlatCap);
    return pen;
}

void paintText(QPainter& p, const ReportItem& item, qreal s) {
    const QRectF box = scaled(item.box, s);
    p.setClipRect(box, Qt::IntersectClip);
    if (item.opaque)
        p.fillRect(box, Qt::white);
    p.setFont(item.font.toQFont());
    p.setPen(item.textColor);
    const int flags = static_cast<int>(item.alignment) | Qt::AlignTop |
                      (item.wordWrap ? Qt::TextWordWrap : Qt::TextSingleLine);
    p.drawText(box, flags, item.text);
}

void paintItem(QPainter& p, const ReportItem& item, qreal s) {
    p.save();
    p.setClipRect(scaled(item.clip, s));
    switch (item.kind) {
    case ReportItem::Kind::Text:
        paintText(p, item, s);
        break;
    case ReportItem::Kind::Rectangle:
        p.setPen(penOf(item, s));
        p.setBrush(item.fill);
        p.drawRect(scaled(item.box, s));
        break;
    case ReportItem::Kind::HorizontalLine:
    case ReportItem::Kind::VerticalLine:
    case ReportItem::Kind::TopAndBottomLines:
        break;
    }
    const QList<QLineF> lines = item.lines();
    if (!lines.isEmpty()) {
        p.setClipping(false);
        p.setClipRect(scaled(item.clip, s));
        p.setPen(penOf(item, s));
        for (const QLineF& l : lines)
            p.drawLine(scaled(l, s));
    }
    p.restore();
}

} // namespace

void ReportPainter::paint(QPainter& painter, const ReportPage& page, const PageSetup& setup) {
    const qreal s = painter.device()->logicalDpiX() / setup.unitsPerInch();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const ReportItem& item : page.items) {
        if (item.visible)
            paintItem(painter, item, s);
    }
}

void ReportPainter::paint(QPrinter& printer, const ReportDocument& document) {
    int from = 1;
    int to = static_cast<int>(document.pages.size());
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = std::max(from, printer.fromPage());
        to = std::min(to, printer.toPage() > 0 ? printer.toPage() : to);
    }
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    QPainter painter;
    if (!painter.begin(&printer))
        throw DatabaseError(QStringLiteral("The report could not be sent to the printer %1")
                                .arg(printer.printerName()));
    bool first = true;
    for (int copy = 0; copy < copies; ++copy) {
        for (int n = from; n <= to; ++n) {
            if (!first)
                printer.newPage();
            first = false;
            paint(painter, document.pages[n - 1], document.setup);
        }
    }
    painter.end();
}

} // namespace vok

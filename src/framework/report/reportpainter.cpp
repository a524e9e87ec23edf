#include "reportpainter.h"

#include "framework/dataset/databaseerror.h"
#include "pagesetup.h"
#include "reportdocument.h"

#include <QCoreApplication>
#include <QGlyphRun>
#include <QHash>
#include <QPainter>
#include <QPrinter>
#include <QTextLayout>
#include <QTransform>
#include <algorithm>

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
    return QPen(item.pen, std::max<qreal>(item.penWidth, 0.5) * s, item.penStyle, Qt::FlatCap);
}

} // namespace

// Paints pages; fonts are made and texts shaped once per run of pages.
class PagePainter {
public:
    PagePainter(QPainter& painter, qreal scale, const PageSetup& setup)
        : p_(painter), s_(scale), setup_(setup) {}

    void startPage() {
        painted_.clear();
        fontSet_ = false;
    }

    void paint(const ReportItem& item) {
        // Clipping costs a path in every PDF and print job: only where something could stick
        // out of its band or its box.
        const qreal halfPen = item.kind == ReportItem::Kind::Text ? 0 : item.penWidth / 2;
        const bool clipBand =
            !item.clip.contains(item.box.adjusted(-halfPen, -halfPen, halfPen, halfPen));
        const bool clipText = item.kind == ReportItem::Kind::Text && item.overflows;
        if (clipBand || clipText) {
            p_.save();
            // The line under a text lies on its box's bottom edge, often the band's: its pen
            // may reach half its width below.
            const qreal below = item.frameBottom ? item.penWidth / 2 : 0;
            p_.setClipRect(scaled(item.clip.adjusted(0, 0, 0, below), s_));
        }
        const QRectF box = scaled(item.box, s_);
        switch (item.kind) {
        case ReportItem::Kind::Text:
            paintText(item, box, clipText);
            break;
        case ReportItem::Kind::Rectangle: {
            // The outline lies inside the box, so a rectangle covers exactly its box.
            const qreal inset = item.penStyle == Qt::NoPen ? 0 : item.penWidth * s_ / 2;
            p_.setPen(penOf(item, s_));
            p_.setBrush(item.fill);
            p_.drawRect(box.adjusted(inset, inset, -inset, -inset));
            break;
        }
        case ReportItem::Kind::HorizontalLine:
        case ReportItem::Kind::VerticalLine:
        case ReportItem::Kind::TopAndBottomLines:
            break;
        }
        const QList<QLineF> lines = item.lines();
        if (!lines.isEmpty()) {
            p_.setPen(penOf(item, s_));
            for (const QLineF& l : lines)
                p_.drawLine(scaled(l, s_));
        }
        if (clipBand || clipText) {
            p_.restore();
            fontSet_ = false; // the font goes back with the rest of the state
        }
        const qreal half = item.kind == ReportItem::Kind::Text ? 0 : item.penWidth / 2;
        painted_.append(item.box.adjusted(-half, -half, half, half));
    }

private:
    void paintText(const ReportItem& item, const QRectF& box, bool clip) {
        // The paper is white: a text's background needs painting only over what is already
        // there, and a page holds thousands of texts.
        if (item.opaque && coversEarlier(item.box))
            p_.fillRect(box, Qt::white);
        if (item.text.isEmpty())
            return;
        if (clip) {
            p_.save();
            p_.setClipRect(box, Qt::IntersectClip);
        }
        if (!(fontSet_ && currentFont_ == item.font)) {
            p_.setFont(font(item.font).font);
            currentFont_ = item.font;
            fontSet_ = true;
        }
        p_.setPen(item.textColor);
        if (item.wordWrap)
            paintWrapped(item, box);
        else
            paintLine(item, box);
        if (clip) {
            p_.restore();
            fontSet_ = false;
        }
    }

    // One line from the top of its box, placed by the width the layout measured: the painter
    // then shapes the text but lays out no lines.
    void paintLine(const ReportItem& item, const QRectF& box) {
        qreal x = box.left();
        if (item.alignment & (Qt::AlignRight | Qt::AlignHCenter)) {
            const qreal width = setup_.fromInch96(item.font.textWidth(item.text)) * s_;
            x = item.alignment & Qt::AlignRight ? box.right() - width
                                                : box.left() + (box.width() - width) / 2;
        }
        for (const QGlyphRun& run : shaped(item.font, item.text))
            p_.drawGlyphRun(QPointF(x, box.top()), run);
    }

    // The glyphs of a line of text, placed from its top left corner.
    const QList<QGlyphRun>& shaped(const ReportFont& f, const QString& text) {
        QHash<QString, QList<QGlyphRun>>& known = shaped_[f];
        if (auto it = known.constFind(text); it != known.constEnd())
            return it.value();
        if (known.size() > 20000)
            known.clear();
        QTextLayout layout(text, font(f).font, p_.device());
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        return known.insert(text, layout.glyphRuns()).value();
    }

    // Wrapped text shows the whole lines that fit in its box (always the first), not the top
    // of a line cut in half.
    void paintWrapped(const ReportItem& item, const QRectF& box) {
        // A text layout breaks lines only at line separators, where a memo has line feeds.
        QString text = item.text;
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(QLatin1Char('\n'), QChar::LineSeparator);
        QTextLayout layout(text, p_.font(), p_.device());
        QTextOption option(item.alignment);
        option.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        QList<QTextLine> shown;
        qreal y = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(box.width());
            if (!shown.isEmpty() && y + line.height() > box.height() + 0.5)
                break;
            line.setPosition(QPointF(0, y));
            y += line.height();
            shown << line;
        }
        layout.endLayout();
        for (const QTextLine& line : shown)
            line.draw(&p_, box.topLeft());
    }

    struct DeviceFont {
        QFont font;
    };

    const DeviceFont& font(const ReportFont& f) {
        auto it = fonts_.constFind(f);
        if (it == fonts_.constEnd())
            it = fonts_.insert(f, {f.toQFont()});
        return it.value();
    }

    bool coversEarlier(const QRectF& box) const {
        return std::any_of(painted_.cbegin(), painted_.cend(),
                           [&box](const QRectF& r) { return r.intersects(box); });
    }

    QPainter& p_;
    qreal s_;
    const PageSetup& setup_;
    QHash<ReportFont, DeviceFont> fonts_;
    QHash<ReportFont, QHash<QString, QList<QGlyphRun>>> shaped_;
    ReportFont currentFont_;
    bool fontSet_ = false;
    QList<QRectF> painted_; // what the page holds so far, in report units
};

ReportPainter::ReportPainter(QPainter& painter, const PageSetup& setup)
    : pages_(std::make_unique<PagePainter>(
          painter, painter.device()->logicalDpiX() / setup.unitsPerInch(), setup)) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
}

ReportPainter::~ReportPainter() = default;

void ReportPainter::paintPage(const ReportPage& page) {
    pages_->startPage();
    for (const ReportItem& item : page.items) {
        if (item.visible)
            pages_->paint(item);
    }
}

void ReportPainter::paint(QPainter& painter, const ReportPage& page, const PageSetup& setup) {
    ReportPainter(painter, setup).paintPage(page);
}

void ReportPainter::paint(QPrinter& printer, const ReportDocument& document) {
    int from = 1;
    int to = static_cast<int>(document.pages.size());
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = std::max(from, printer.fromPage());
        to = std::min(to, printer.toPage() > 0 ? printer.toPage() : to);
    }
    if (from > to)
        return; // a page range past the end: nothing to send
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    QPainter painter;
    if (!painter.begin(&printer))
        throw DatabaseError(QCoreApplication::translate(
                                "Printing", "The report could not be sent to the printer %1")
                                .arg(printer.printerName()));
    ReportPainter pages(painter, document.setup);
    const QTransform fit = fitToPaper(printer, document.setup);
    bool first = true;
    for (int copy = 0; copy < copies; ++copy) {
        for (int n = from; n <= to; ++n) {
            if (!first)
                printer.newPage();
            first = false;
            painter.setWorldTransform(fit);
            pages.paintPage(document.pages[n - 1]);
        }
    }
    painter.end();
}

QTransform ReportPainter::fitToPaper(const QPrinter& printer, const PageSetup& setup) {
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QSizeF pages = setup.paperSize() * (printer.logicalDpiX() / setup.unitsPerInch());
    const qreal fit =
        std::min({1.0, paper.width() / pages.width(), paper.height() / pages.height()});
    // A printer's sizes are whole pixels, the report's are not.
    if (fit > 0.999)
        return {};
    return QTransform::fromTranslate((paper.width() - pages.width() * fit) / 2,
                                     (paper.height() - pages.height() * fit) / 2)
        .scale(fit, fit);
}

} // namespace vok

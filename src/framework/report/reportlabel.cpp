#include "reportlabel.h"

#include "report.h"
#include "reportband.h"

#include <algorithm>

namespace vok {

ReportLabel::ReportLabel(ReportBand* band, const QString& name)
    : ReportElement(band, name), font_(band->report()->defaultFont()) {}

QString ReportLabel::displayText(const ReportContext&) const {
    return text_;
}

qreal ReportLabel::boxHeight(const ReportContext& context) const {
    return height() > 0 ? height() : context.setup.fromInch96(font_.lineHeight());
}

ReportItem ReportLabel::layOut(const ReportContext& context) const {
    return layOutAs(context, displayText(context));
}

ReportItem ReportLabel::layOutAs(const ReportContext& context, const QString& text) const {
    ReportItem item = baseItem(ReportItem::Kind::Text);
    item.text = text;
    item.font = font_;
    item.textColor = color_;
    item.alignment = alignment_;
    item.wordWrap = wordWrap_;
    item.opaque = !transparent_;
    item.frameBottom = frameBottom_;
    item.box.setHeight(boxHeight(context));

    const qreal textWidth = context.setup.fromInch96(font_.textWidth(item.text));
    // The area the text is aligned in: its own box, or the band.
    const qreal areaLeft = alignToBand_ ? 0 : left();
    const qreal areaWidth = alignToBand_ ? context.bandWidth : width();
    const qreal boxWidth = (autoSize_ || alignToBand_) ? textWidth : width();
    qreal x = areaLeft;
    if (alignment_ & Qt::AlignRight)
        x = areaLeft + areaWidth - boxWidth;
    else if (alignment_ & Qt::AlignHCenter)
        x = areaLeft + (areaWidth - boxWidth) / 2;
    if (!autoSize_ && !alignToBand_)
        x = left();
    if (follows_ && follows_->isVisible() && !alignToBand_)
        x = std::max(x, follows_->layOut(context).box.right() + followGap_);
    item.box.setLeft(x);
    item.box.setWidth(boxWidth);
    // A wrapped text is always cut at its box: devices may break its lines a little
    // differently from the measurement.
    item.overflows = wordWrap_ || textWidth > boxWidth + 0.01 ||
                     context.setup.fromInch96(font_.lineHeight()) > item.box.height() + 0.01;
    return item;
}

} // namespace vok

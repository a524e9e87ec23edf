#include "pagesetup.h"

#include <QPageSize>

namespace vok {

namespace {

QPageSize::PageSizeId sizeId(PageSetup::Paper paper) {
    return paper == PageSetup::Paper::Legal ? QPageSize::Legal : QPageSize::Letter;
}

} // namespace

QSizeF PageSetup::paperSize() const {
    // Portrait width and height in inches.
    const QSizeF inches = paper == Paper::Legal ? QSizeF(8.5, 14) : QSizeF(8.5, 11);
    const QSizeF portrait = inches * unitsPerInch();
    return orientation == QPageLayout::Landscape ? portrait.transposed() : portrait;
}

QRectF PageSetup::printableRect() const {
    return QRectF(QPointF(0, 0), paperSize()).marginsRemoved(margins);
}

QPageLayout PageSetup::pageLayout() const {
    return QPageLayout(QPageSize(sizeId(paper)), orientation, QMarginsF(0, 0, 0, 0));
}

QString PageSetup::paperName() const {
    return paper == Paper::Legal ? QStringLiteral("legal") : QStringLiteral("letter");
}

QString PageSetup::unitName() const {
    return unit == Unit::Inch96 ? QStringLiteral("1/96 inch") : QStringLiteral("mm");
}

} // namespace vok

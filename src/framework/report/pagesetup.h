#pragma once

#include <QMarginsF>
#include <QPageLayout>
#include <QRectF>
#include <QSizeF>
#include <QString>

namespace vok {

// Paper, orientation, margins and the unit in which a report places everything. Positions are
// measured from the paper's top-left corner; bands start at the top-left margin.
class PageSetup {
public:
    enum class Paper { Letter, Legal };
    enum class Unit { Inch96, Millimetre }; // 1/96 inch, or millimetres

    Paper paper = Paper::Letter;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    Unit unit = Unit::Inch96;
    QMarginsF margins; // in the report's unit

    qreal unitsPerInch() const { return unit == Unit::Inch96 ? 96.0 : 25.4; }
    // Converts a length given in 1/96 inch (how text is measured) into the report's unit.
    qreal fromInch96(qreal value) const { return value * unitsPerInch() / 96.0; }
    // The paper as oriented, in the report's unit.
    QSizeF paperSize() const;
    QRectF printableRect() const;
    // The layout handed to printers and PDF writers: the report draws at paper coordinates, so
    // the device gets no margins of its own.
    QPageLayout pageLayout() const;

    QString paperName() const;
    QString unitName() const;
};

} // namespace vok

#include "reportparts.h"

#include "framework/dataset/shortdate.h"

#include <cmath>

vok::ReportFont ReportParts::arial(qreal size, bool bold, bool underline) {
    return vok::ReportFont(QStringLiteral("Arial"), size, bold, underline);
}

vok::PageSetup ReportParts::letter(vok::PageSetup::Unit unit, qreal margin) {
    vok::PageSetup setup;
    setup.paper = vok::PageSetup::Paper::Letter;
    setup.orientation = QPageLayout::Portrait;
    setup.unit = unit;
    setup.margins = QMarginsF(margin, margin, margin, margin);
    return setup;
}

vok::PageSetup ReportParts::legalLandscape(vok::PageSetup::Unit unit, qreal margin) {
    vok::PageSetup setup = letter(unit, margin);
    setup.paper = vok::PageSetup::Paper::Legal;
    setup.orientation = QPageLayout::Landscape;
    return setup;
}

double ReportParts::dayNumber(const QDate& date) {
    return static_cast<double>(vok::ShortDate::zeroDate().daysTo(date));
}

double ReportParts::dayNumber(const QDateTime& instant) {
    return dayNumber(instant.date()) + instant.time().msecsSinceStartOfDay() / 86400000.0;
}

QDate ReportParts::dateOf(double day) {
    return vok::ShortDate::zeroDate().addDays(static_cast<qint64>(std::floor(day)));
}

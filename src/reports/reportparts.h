#pragma once

#include "framework/report/pagesetup.h"
#include "framework/report/reportfont.h"

#include <QDate>
#include <QDateTime>

// What every report of Vok is made of besides its layout: its one font family, and the day
// numbers its date arithmetic runs on.
class ReportParts {
public:
    // Arial at a size; the reports use no other family for their texts.
    static vok::ReportFont arial(qreal size = 10, bool bold = false, bool underline = false);
    // Arial 10: bold captions, bold underlined column headings, underlined captions.
    static vok::ReportFont bold() { return arial(10, true); }
    static vok::ReportFont heading() { return arial(10, true, true); }
    static vok::ReportFont underlined() { return arial(10, false, true); }
    // Letter paper, portrait, with the same margin on every side, in the report's unit.
    static vok::PageSetup letter(vok::PageSetup::Unit unit, qreal margin);
    // Legal paper, landscape: for the reports wider than a letter page.
    static vok::PageSetup legalLandscape(vok::PageSetup::Unit unit, qreal margin);

    // Day number of the date system (30 December 1899 is day 0); with a time of day, the time
    // as the fraction of the day gone.
    static double dayNumber(const QDate& date);
    static double dayNumber(const QDateTime& instant);
    // The date of the day a day number lies in.
    static QDate dateOf(double day);
};

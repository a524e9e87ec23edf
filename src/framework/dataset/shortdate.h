#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

namespace vok {

// The system's short date format: the locale's short date with a two-digit day and month and
// a four-digit year, so dates are typed and shown the same way everywhere.
class ShortDate {
public:
    // The pattern, e.g. "MM/dd/yyyy" for a US locale.
    static QString pattern();
    static QString format(const QDate& date);
    static QString formatDateTime(const QDateTime& value);
    // Reads a date typed in the short date format (day and month may have one digit, the year
    // two); ISO "yyyy-MM-dd" is accepted too. Returns an invalid date when the text is no date.
    static QDate parse(const QString& text);
    static QDateTime parseDateTime(const QString& text);
    // Reads a date as the engine stores it and the command line takes it, and nothing else:
    // "yyyy-MM-dd", optionally followed by a time of day "THH:mm[:ss[.zzz]]" (or with a blank
    // for the T), which goes to `time` (midnight when there is none). Invalid when the text is
    // not exactly that, or names no real day or time.
    static QDate readIso(const QString& text, QTime* time = nullptr);
    // The date of serial day 0, which an empty date field reads as.
    static QDate zeroDate() { return QDate(1899, 12, 30); }
};

} // namespace vok

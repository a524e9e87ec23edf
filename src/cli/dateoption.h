#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// The dates the command line takes, in ISO form only: "2024-03-01", and where a time of day is
// allowed "2024-03-01T14:30". Nothing else is read as a date: no blanks, signs or trailing text,
// no day that is not in the calendar.
class DateOption {
public:
    // An invalid date when the text is not one.
    static QDate date(const QString& text);
    // A date at midnight, or a date and a time of day; invalid when the text is neither.
    static QDateTime dateTime(const QString& text);
};

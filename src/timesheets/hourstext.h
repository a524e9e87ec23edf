#pragma once

#include <QLocale>
#include <QString>
#include <optional>

// Hours as a member types them into a day: a number written the locale's way ("7.5", "7,5" in
// French; a point is read too where it is not the locale's group separator) or hours and minutes
// ("7:30" is 7.5). Nothing typed is rounded.
class HoursText {
public:
    static constexpr double DayHours = 24.0;

    struct Reading {
        std::optional<double> hours; // empty for an empty text: no hours that day
        QString refusal;             // why the text is no hours of one day; empty when it is
        bool ok() const { return refusal.isEmpty(); }
    };
    static Reading read(const QString& text, const QLocale& locale = QLocale());
    // Hours as a cell shows them: up to two decimals, none when whole ("7.5", "8", "7.33").
    static QString shown(double hours, const QLocale& locale = QLocale());
};

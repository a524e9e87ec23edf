#include "hourstext.h"

#include <QRegularExpression>
#include <cmath>

namespace {

std::optional<double> number(const QString& text, QLocale locale) {
    // "1,000" is no number of hours in English: a group separator is refused, not skipped.
    locale.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
    bool ok = false;
    double value = locale.toDouble(text, &ok);
    if (!ok && locale.groupSeparator() != QStringLiteral(".")) {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator);
        value = c.toDouble(text, &ok);
    }
    if (!ok || !std::isfinite(value))
        return {};
    return value;
}

} // namespace

HoursText::Reading HoursText::read(const QString& text, const QLocale& locale) {
    const QString typed = text.trimmed();
    if (typed.isEmpty())
        return {};
    std::optional<double> hours;
    static const QRegularExpression clock(QStringLiteral("^([+-]?)([0-9]{1,3}):([0-9]{2})$"));
    if (const QRegularExpressionMatch m = clock.match(typed); m.hasMatch()) {
        const int minutes = m.captured(3).toInt();
        if (minutes >= 60)
            return {{},
                    QStringLiteral("\"%1\" is no time of day's work: minutes go from 00 to 59.")
                        .arg(typed)};
        hours = m.captured(2).toInt() + minutes / 60.0;
        if (m.captured(1) == QStringLiteral("-"))
            hours = -*hours;
    } else {
        hours = number(typed, locale);
    }
    if (!hours)
        return {{},
                QStringLiteral("\"%1\" is no number of hours. Type hours as %2 or as hours and "
                               "minutes, %3.")
                    .arg(typed, locale.toString(7.5), QStringLiteral("7:30"))};
    if (*hours < 0)
        return {{}, QStringLiteral("Hours cannot be below 0.")};
    if (*hours > DayHours)
        return {{},
                QStringLiteral("%1 hours is more than a day has: at most 24 hours a day.")
                    .arg(shown(*hours, locale))};
    return {*hours + 0.0, {}}; // -0 reads as 0
}

QString HoursText::shown(double hours, const QLocale& locale) {
    QString text = locale.toString(hours, 'f', 2);
    const QString point = locale.decimalPoint();
    if (text.contains(point)) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(point))
            text.chop(point.size());
    }
    return text;
}

#include "dateoption.h"

namespace {

// The value of `count` ASCII digits at `at`, or -1.
int digits(const QString& text, qsizetype at, int count) {
    int n = 0;
    for (int i = 0; i < count; ++i) {
        const char16_t c = text[at + i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        n = n * 10 + (c - u'0');
    }
    return n;
}

} // namespace

QDate DateOption::date(const QString& text) {
    if (text.size() != 10 || text[4] != u'-' || text[7] != u'-')
        return {};
    const int year = digits(text, 0, 4);
    const int month = digits(text, 5, 2);
    const int day = digits(text, 8, 2);
    if (year < 1 || !QDate::isValid(year, month, day))
        return {};
    return QDate(year, month, day);
}

QDateTime DateOption::dateTime(const QString& text) {
    if (text.size() == 10) {
        const QDate d = date(text);
        return d.isValid() ? QDateTime(d, QTime(0, 0)) : QDateTime();
    }
    if (text.size() != 16 || text[10] != u'T' || text[13] != u':')
        return {};
    const QDate d = date(text.left(10));
    const int hour = digits(text, 11, 2);
    const int minute = digits(text, 14, 2);
    if (!d.isValid() || !QTime::isValid(hour, minute, 0))
        return {};
    return QDateTime(d, QTime(hour, minute));
}

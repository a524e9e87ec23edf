#include "dateoption.h"

#include "framework/dataset/shortdate.h"

QDate DateOption::date(const QString& text) {
    return text.size() == 10 ? vok::ShortDate::readIso(text) : QDate();
}

QDateTime DateOption::dateTime(const QString& text) {
    if (text.size() != 10 && (text.size() != 16 || text[10] != u'T'))
        return {};
    QTime time;
    const QDate date = vok::ShortDate::readIso(text, &time);
    return date.isValid() ? QDateTime(date, time) : QDateTime();
}

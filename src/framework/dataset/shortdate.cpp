#include "shortdate.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTime>
#include <algorithm>

namespace vok {

namespace {

// The value of `count` ASCII digits at `at`, or -1 when they are not all there.
int digits(const QString& text, qsizetype at, int count) {
    if (count <= 0 || at + count > text.size())
        return -1;
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

QString ShortDate::pattern() {
    QString fmt = QLocale().dateFormat(QLocale::ShortFormat);
    // Normalise every run of d, M and y to two, two and four letters.
    QString out;
    for (int i = 0; i < fmt.size();) {
        const QChar c = fmt[i];
        int j = i;
        while (j < fmt.size() && fmt[j] == c)
            ++j;
        if (c == QLatin1Char('d'))
            out += QStringLiteral("dd");
        else if (c == QLatin1Char('M'))
            out += QStringLiteral("MM");
        else if (c == QLatin1Char('y'))
            out += QStringLiteral("yyyy");
        else if (c.isLetter())
            ; // weekday names and the like have no place in a short date
        else
            out += fmt.mid(i, j - i);
        i = j;
    }
    if (!out.contains(QLatin1String("dd")) || !out.contains(QLatin1String("MM")) ||
        !out.contains(QLatin1String("yyyy")))
        return QStringLiteral("dd/MM/yyyy");
    // Formats that name the month separate the parts with blanks; numbers need a visible mark.
    out = out.simplified();
    static const QRegularExpression mark(QStringLiteral("[^A-Za-z ]")); // compiled once
    if (out.contains(QLatin1Char(' ')) && !out.contains(mark))
        out.replace(QLatin1Char(' '), QLatin1Char('/'));
    return out;
}

QString ShortDate::format(const QDate& date) {
    if (!date.isValid())
        return {};
    return date.toString(pattern());
}

QString ShortDate::formatDateTime(const QDateTime& value) {
    if (!value.isValid())
        return {};
    const QTime t = value.time();
    if (t == QTime(0, 0))
        return format(value.date());
    return format(value.date()) + QLatin1Char(' ') + t.toString(QStringLiteral("HH:mm:ss"));
}

QDate ShortDate::parse(const QString& input) {
    const QString text = input.trimmed();
    if (text.isEmpty())
        return {};
    static const QRegularExpression iso(QStringLiteral("^([0-9]{4})-([0-9]{1,2})-([0-9]{1,2})$"));
    if (const auto m = iso.match(text); m.hasMatch())
        return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());

    // Order of day, month and year as the pattern gives it.
    const QString pat = pattern();
    const int posD = pat.indexOf(QLatin1Char('d'));
    const int posM = pat.indexOf(QLatin1Char('M'));
    const int posY = pat.indexOf(QLatin1Char('y'));
    // Numbers are ASCII digits, parted by a mark that short dates use or the pattern's own,
    // never by a letter; the expression is built again only when the pattern changes.
    thread_local QString partsPattern;
    thread_local QRegularExpression parts;
    if (partsPattern != pat || !parts.isValid() || parts.pattern().isEmpty()) {
        QString marks = QStringLiteral("./ ");
        for (const QChar c : pat) {
            if (!c.isLetterOrNumber() && !marks.contains(c))
                marks += c;
        }
        const QString mark =
            QLatin1Char('[') + QRegularExpression::escape(marks) + QStringLiteral("-]");
        parts.setPattern(QStringLiteral("^([0-9]{1,4})%1([0-9]{1,4})%1([0-9]{1,4})$").arg(mark));
        partsPattern = pat;
    }
    const auto m = parts.match(text);
    if (!m.hasMatch())
        return {};
    int order[3] = {posD, posM, posY};
    auto rank = [&](int pos) {
        int r = 0;
        for (int o : order)
            if (o < pos)
                ++r;
        return r + 1;
    };
    const QString dayText = m.captured(rank(posD));
    const QString monthText = m.captured(rank(posM));
    const QString yearText = m.captured(rank(posY));
    if (dayText.size() > 2 || monthText.size() > 2 || yearText.size() == 3 || yearText.size() == 1)
        return {};
    int year = yearText.toInt();
    if (yearText.size() == 2) {
        // Two-digit years fall within fifty years either side of this century's start.
        year += year < 50 ? 2000 : 1900;
    }
    return QDate(year, monthText.toInt(), dayText.toInt());
}

QDateTime ShortDate::parseDateTime(const QString& input) {
    const QString text = input.trimmed();
    if (text.isEmpty())
        return {};
    const QDateTime iso = QDateTime::fromString(text, Qt::ISODate);
    if (iso.isValid())
        return iso;
    const int blank = text.indexOf(QLatin1Char(' '));
    const QDate date = parse(blank < 0 ? text : text.left(blank));
    if (!date.isValid())
        return {};
    if (blank < 0)
        return QDateTime(date, QTime(0, 0));
    const QString timeText = text.mid(blank + 1).trimmed();
    QTime time = QTime::fromString(timeText, QStringLiteral("H:mm:ss"));
    if (!time.isValid())
        time = QTime::fromString(timeText, QStringLiteral("H:mm"));
    if (!time.isValid())
        return {};
    return QDateTime(date, time);
}

QDate ShortDate::readIso(const QString& text, QTime* time) {
    // Kept free of regular expressions and time zones: a merge reads two dates on every line.
    if (time)
        *time = QTime(0, 0);
    if (text.size() < 10 || text[4] != u'-' || text[7] != u'-')
        return {};
    const int year = digits(text, 0, 4);
    const QDate date(year, digits(text, 5, 2), digits(text, 8, 2));
    if (year < 1 || !date.isValid())
        return {};
    if (text.size() == 10)
        return date;
    if ((text[10] != u'T' && text[10] != u' ') || text.size() < 16 || text[13] != u':')
        return {};
    int second = 0;
    int msec = 0;
    if (text.size() > 16) {
        if (text[16] != u':' || text.size() < 19)
            return {};
        second = digits(text, 17, 2);
        if (text.size() > 19) {
            // Fractions of a second: a point and up to nine digits, read to the millisecond.
            if (text[19] != u'.' || text.size() > 29 ||
                digits(text, 20, static_cast<int>(text.size() - 20)) < 0)
                return {};
            msec = digits(text, 20, static_cast<int>(std::min<qsizetype>(text.size() - 20, 3)));
            for (qsizetype n = text.size() - 20; n < 3; ++n)
                msec *= 10;
        }
    }
    const QTime clock(digits(text, 11, 2), digits(text, 14, 2), second, msec);
    if (!clock.isValid())
        return {};
    if (time)
        *time = clock;
    return date;
}

} // namespace vok

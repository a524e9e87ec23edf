#include "numbermask.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace vok {

namespace {

bool isPlaceholder(QChar c) {
    return c == QLatin1Char('0') || c == QLatin1Char('#');
}

} // namespace

NumberMask::NumberMask(const QString& mask) {
    const QStringList sections = mask.split(QLatin1Char(';'));
    positive_ = parse(sections.value(0));
    hasNegative_ = sections.size() > 1;
    if (hasNegative_)
        negative_ = parse(sections[1]);
    hasZero_ = sections.size() > 2;
    if (hasZero_)
        zero_ = parse(sections[2]);
}

NumberMask::Section NumberMask::parse(const QString& text) {
    Section s;
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isPlaceholder(text[i])) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0) {
        s.prefix = text;
        return s;
    }
    s.valid = true;
    s.prefix = text.left(first);
    s.suffix = text.mid(last + 1);
    bool afterPoint = false;
    for (qsizetype i = first; i <= last; ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('.')) {
            afterPoint = true;
        } else if (c == QLatin1Char(',')) {
            s.grouping = s.grouping || !afterPoint;
        } else if (afterPoint && isPlaceholder(c)) {
            ++s.maxDecimals;
            if (c == QLatin1Char('0'))
                s.minDecimals = s.maxDecimals;
        } else if (c == QLatin1Char('0')) {
            ++s.minIntegerDigits;
        }
    }
    return s;
}

QString NumberMask::apply(const Section& s, double magnitude, const QLocale& locale) {
    if (!s.valid)
        return s.prefix;
    // Round once to the shown decimals, then drop the optional trailing zeros.
    QString digits = QString::number(magnitude, 'f', s.maxDecimals);
    QString integer = digits;
    QString fraction;
    if (const qsizetype point = digits.indexOf(QLatin1Char('.')); point >= 0) {
        integer = digits.left(point);
        fraction = digits.mid(point + 1);
    }
    while (fraction.size() > s.minDecimals && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    if (integer == QLatin1String("0") && s.minIntegerDigits == 0)
        integer.clear();
    while (integer.size() < s.minIntegerDigits)
        integer.prepend(QLatin1Char('0'));
    if (s.grouping) {
        const QString separator = locale.groupSeparator();
        for (qsizetype i = integer.size() - 3; i > 0; i -= 3)
            integer.insert(i, separator);
    }
    QString out = s.prefix + integer;
    if (!fraction.isEmpty())
        out += locale.decimalPoint() + fraction;
    return out + s.suffix;
}

QString NumberMask::format(double value, const QLocale& locale) const {
    // A value that is no number has no digits to show; "nan" or "inf" would pass for some.
    if (!std::isfinite(value))
        return {};
    // The section is chosen by the value as it will be shown, so -0.001 with two decimals is
    // a zero and prints without parentheses or sign. The digits are those apply() shows, so the
    // choice agrees with them however many decimals the mask asks for.
    const QString digits = QString::number(std::abs(value), 'f', positive_.maxDecimals);
    const bool zero = std::none_of(digits.begin(), digits.end(), [](QChar c) {
        return c >= QLatin1Char('1') && c <= QLatin1Char('9');
    });
    if (zero && hasZero_)
        return apply(zero_, 0, locale);
    if (value < 0 && !zero) {
        if (hasNegative_)
            return apply(negative_, -value, locale);
        return QStringLiteral("-") + apply(positive_, -value, locale);
    }
    return apply(positive_, std::abs(value), locale);
}

} // namespace vok

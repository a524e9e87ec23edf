#pragma once

#include <QLocale>
#include <QString>

namespace vok {

// A number format such as "###,###,##0.00;(###,###,##0.00)": sections for positive, negative
// and zero values separated by ";"; "0" a digit always shown, "#" a digit shown when
// significant, "," digit grouping, "." the decimal point, anything else printed as it stands.
// A negative value formatted by its own section prints without a minus sign.
class NumberMask {
public:
    explicit NumberMask(const QString& mask);

    QString format(double value, const QLocale& locale = QLocale()) const;

private:
    struct Section {
        QString prefix;
        QString suffix;
        int minIntegerDigits = 0;
        int minDecimals = 0;
        int maxDecimals = 0;
        bool grouping = false;
        bool valid = false;
    };
    static Section parse(const QString& text);
    static QString apply(const Section& section, double magnitude, const QLocale& locale);

    Section positive_;
    Section negative_;
    Section zero_;
    bool hasNegative_ = false;
    bool hasZero_ = false;
};

} // namespace vok

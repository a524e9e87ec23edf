#include "showntext.h"

#include "plainfilename.h"

namespace vok {

bool ShownText::needsEscape(QChar c) {
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7f && u <= 0x9f) || u == 0x2028 || u == 0x2029 ||
           PlainFileName::isDirectionControl(c);
}

QString ShownText::escaped(const QString& text, LineBreaks lineBreaks) {
    if (std::none_of(text.begin(), text.end(), needsEscape))
        return text;
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (!needsEscape(c) || (c == QLatin1Char('\n') && lineBreaks == LineBreaks::Kept)) {
            out += c;
            continue;
        }
        switch (c.unicode()) {
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        default:
            out += c.unicode() < 0x100
                       ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'))
                       : QStringLiteral("\\u{%1}").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        }
    }
    return out;
}

} // namespace vok

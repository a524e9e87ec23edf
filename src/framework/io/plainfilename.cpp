#include "plainfilename.h"

namespace vok {

namespace {

// Refused by at least one of the file systems a shared data folder may live on.
const QString forbiddenCharacters = QStringLiteral("/\\<>:\"|?*");

// Most file systems hold names of at most 255 bytes.
constexpr int maxFileNameBytes = 255;

bool isControl(QChar c) {
    return c.isNull() || c.category() == QChar::Other_Control;
}

} // namespace

bool PlainFileName::isDirectionControl(QChar c) {
    const char16_t u = c.unicode();
    return u == 0x061C || u == 0x200E || u == 0x200F || (u >= 0x202A && u <= 0x202E) ||
           (u >= 0x2066 && u <= 0x2069);
}

QString PlainFileName::refusal(const QString& name) {
    if (name.trimmed().isEmpty())
        return QStringLiteral("an empty name cannot name a file");
    for (const QChar c : name) {
        if (forbiddenCharacters.contains(c))
            return QStringLiteral("it holds the character '%1'").arg(c);
        if (isControl(c))
            return QStringLiteral("it holds a control character");
        if (isDirectionControl(c))
            return QStringLiteral("it holds a character that reverses how it reads");
    }
    if (name.contains(QLatin1String("..")))
        return QStringLiteral("it holds \"..\"");
    if (name.toUtf8().size() > maxFileNameBytes)
        return QStringLiteral("it is too long for a file name");
    return {};
}

QString PlainFileName::from(const QString& text, const QString& fallback, int room) {
    QString name;
    for (const QChar c : text) {
        if (isDirectionControl(c))
            continue;
        name += forbiddenCharacters.contains(c) || isControl(c) || c.unicode() == 0x7f
                    ? QLatin1Char('_')
                    : c;
    }
    name = name.simplified();
    while (name.contains(QLatin1String("..")))
        name.replace(QLatin1String(".."), QLatin1String("._"));
    while (name.startsWith(QLatin1Char('.')))
        name.remove(0, 1);
    while (name.toUtf8().size() > maxFileNameBytes - room) {
        name.chop(1);
        if (!name.isEmpty() && name.back().isHighSurrogate())
            name.chop(1);
    }
    return name.isEmpty() ? fallback : name;
}

} // namespace vok

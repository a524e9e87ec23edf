#include "lookalike.h"

namespace {

// Zero-width spaces and joiners, direction marks, soft hyphens, the byte order mark.
bool showsAsNothing(QChar c) {
    return c.category() == QChar::Other_Format;
}

bool trimmedAway(QChar c) {
    return c.isSpace() || showsAsNothing(c);
}

} // namespace

QString LookAlike::trimmed(const QString& name) {
    qsizetype from = 0;
    qsizetype to = name.size();
    while (from < to && trimmedAway(name[from]))
        ++from;
    while (to > from && trimmedAway(name[to - 1]))
        --to;
    return name.mid(from, to - from);
}

QString LookAlike::folded(const QString& name) {
    QString out = name.normalized(QString::NormalizationForm_KC);
    out.removeIf(showsAsNothing);
    return out.simplified();
}

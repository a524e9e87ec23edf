#include "textfold.h"

namespace vok {

QString TextFold::folded(const QString& text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.unicode() < 0x0300 || c.unicode() > 0x036f)
            out += c;
    }
    return out.toLower();
}

bool TextFold::contains(const QString& text, const QString& foldedNeedle) {
    return folded(text).contains(foldedNeedle);
}

} // namespace vok

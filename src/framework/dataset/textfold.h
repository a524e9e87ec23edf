#pragma once

#include <QString>

namespace vok {

// Text as a search compares it: letter case and accents aside ("Chloé" holds "CHLOE"). Accents are
// the combining marks of the Latin, Greek and Cyrillic letters (U+0300 to U+036F) once the text is
// decomposed; the engines fold stored names the same way (Engine::foldedContains).
class TextFold {
public:
    static QString folded(const QString& text);
    // Whether `text` holds `foldedNeedle` (already folded), letter case and accents aside.
    static bool contains(const QString& text, const QString& foldedNeedle);
};

} // namespace vok

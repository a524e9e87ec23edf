#pragma once

#include <QString>

namespace vok {

// Stored text (a name) as a terminal or the tree shows it: control characters and characters
// that reverse the reading direction appear as escapes ("\x1b", "\r", "\u{202e}") instead of
// acting on the screen.
class ShownText {
public:
    enum class LineBreaks { Escaped, Kept };
    static QString escaped(const QString& text, LineBreaks lineBreaks = LineBreaks::Escaped);
    static bool needsEscape(QChar c);
};

} // namespace vok

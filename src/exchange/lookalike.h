#pragma once

#include <QString>

// Names that read the same to a person: "Office Move", "Office Move " and "Office\u200bMove"
// look alike on screen and on paper, so an import treats them as one name.
class LookAlike {
public:
    // The name without blanks or characters that show as nothing (zero-width spaces and joiners,
    // direction marks, the byte order mark) at either end.
    static QString trimmed(const QString& name);
    // The name as names are compared: compatibility forms folded (NFKC: full-width letters,
    // ligatures, other spaces), characters that show as nothing removed, blanks made single.
    static QString folded(const QString& name);
};

#pragma once

#include <QString>

namespace vok {

// The one rule for a name that becomes a path (a member's sheet, a stored sheet name, a
// generated document's name): a plain file name inside its folder, or a refusal. Nothing that
// separates folders, climbs out of one, or hides how the name reads.
class PlainFileName {
public:
    // Why the name cannot be a file name of a folder; empty when it can.
    static QString refusal(const QString& name);
    // A file name made from any text (a title): unsafe characters become '_', characters that
    // reorder the text on screen are dropped, and the result fits the file systems' 255 bytes
    // with `room` bytes to spare. `fallback` when nothing is left.
    static QString from(const QString& text, const QString& fallback, int room = 0);
    // Characters that change the direction text is shown in (U+202E shows "exe.pdf" as "fdp.exe").
    static bool isDirectionControl(QChar c);
};

} // namespace vok

#include "changestep.h"

#include "framework/io/showntext.h"

QString ChangeStep::describe(const Row& row) {
    static const char* const levels[] = {"project", "major activity", "action"};
    const QString named = QStringLiteral("“%1”").arg(vok::ShownText::escaped(row.name));
    switch (row.subject) {
    case Subject::Record:
        return QLatin1String(levels[row.level]) + QLatin1Char(' ') + named;
    case Subject::TeamMember:
        return QStringLiteral("team member ") + named;
    case Subject::Contact:
        return QStringLiteral("contact ") + named;
    case Subject::Note:
        return QStringLiteral("a note");
    case Subject::TimeSheet:
        return QStringLiteral("a time sheet row");
    case Subject::Cost:
        return QStringLiteral("a cost row");
    }
    return {};
}

QString ChangeStep::nodeAfter(bool undone) const {
    const Row& row = mainRow();
    if (row.subject != Subject::Record)
        return row.node;
    // Where the step leaves the record gone, the tree stands on its parent.
    const bool removed = kind == Kind::Delete ? !undone : (kind != Kind::Edit && undone);
    if (!removed)
        return row.node;
    const qsizetype comma = row.node.lastIndexOf(QLatin1Char(','));
    return comma < 0 ? QString() : row.node.left(comma);
}

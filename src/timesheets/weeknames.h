#pragma once

#include "weeksheet.h"

#include <QStringList>
#include <QVariantList>
#include <optional>

class ProjectData;

// The names a week's rows are offered and checked against, as "Update Time Sheets" resolves
// them: every project; the major activities of the row's project; the actions of its major
// activity. Of equal names the first in the table's order counts.
class WeekNames {
public:
    explicit WeekNames(ProjectData& dm);

    // The names a row's level may take, in the table's order.
    QStringList offered(const WeekSheet::Names& row, WeekSheet::Level level) const;
    // The name stored for what was typed: a name offered with other letter case is stored as
    // the table spells it (the update compares names exactly); any other text as typed.
    QString spelled(const WeekSheet::Names& row, WeekSheet::Level level,
                    const QString& typed) const;
    // Whether the update will find the row's name at that level; an empty name is no name to
    // find and counts as found.
    bool found(const WeekSheet::Names& row, WeekSheet::Level level) const;

private:
    // The record numbers that the row's names lead to above a level; empty when a name above
    // is not found.
    std::optional<QVariantList> keyAbove(const WeekSheet::Names& row, WeekSheet::Level level) const;

    ProjectData& dm_;
};

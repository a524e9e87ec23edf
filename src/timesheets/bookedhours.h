#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <array>

class ProjectData;

// What "Update Time Sheets" has booked for a member: the time sheet rows bearing the member's
// name, their numbers named again (empty where a number names nothing). The week shows them
// beside the lines still to merge, so that merged hours are not typed twice, and copies last
// week's rows from them once last week is merged.
class BookedHours {
public:
    struct Booking {
        std::array<QString, 3> names; // project, major activity, action
        QDate from;
        QDate to;
        double hours = 0;
    };
    // The rows of `member` (as listed, not trimmed) that touch the days from `first` to `last`.
    static QList<Booking> of(ProjectData& dm, const QString& member, const QDate& first,
                             const QDate& last);
};

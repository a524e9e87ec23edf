#pragma once

#include <QDate>
#include <QString>

// Creates data folders: an empty one for a new team, a filled one to try Vok on, and large ones
// for measurements.
class DataFolder {
public:
    // An empty data folder; refuses a folder that already holds a database.
    static void create(const QString& dir);
    // A folder with sample projects, teams, notes, contacts, merged time sheets and costs, one
    // member's pending time-sheet file and pending cost lines. Dates lie around `today`.
    static void createDemo(const QString& dir, const QDate& today);
    // projects x majors x actions, with names "Project n", "Major n.m", "Action n.m.a".
    static void createSized(const QString& dir, int projects, int majors, int actions);
};

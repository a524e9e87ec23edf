#pragma once

#include "plan.h"

#include <QByteArray>
#include <QStringList>
#include <optional>

class QXmlStreamReader;

// Reads MS Project XML (MSPDI) as other programs write it into a plan. The shallowest tasks
// below the project become major activities, their subtasks actions; deeper tasks are folded
// into the description of the action above them, and each fold is told. A project summary task
// (UID 0) may or may not be there; the top level may be outline level 0 or 1. Dates keep their
// day; durations and work come as XML durations.
//
// Hostile or broken input is refused with a message, before anything is stored: a document type
// declaration (so no entity is ever declared, let alone expanded or fetched), an entity
// reference, a file that ends early or is not well formed, a root that is not <Project>, more
// tasks, resources or assignments than any plan holds, a date outside the years 1 to 9999 (given
// or reached by a task's length) and a figure larger than a number field holds; a message about
// a task names its UID, its name and its line in the file.
class MspdiReader {
public:
    static constexpr int MaxTasks = 50000;
    static constexpr int MaxResources = 10000;
    static constexpr int MaxAssignments = 200000;
    // Deeper outline levels are taken as this one, with a notice.
    static constexpr int MaxOutlineLevel = 100;
    // The years a date may have: Vok keeps no others.
    static constexpr int FirstYear = 1;
    static constexpr int LastYear = 9999;

    struct Result {
        Plan plan;
        QStringList notices; // what was folded or left out
    };
    // `fileName` names the file in messages and gives the project a name when nothing else does.
    static Result read(const QByteArray& document, const QString& fileName);

    // Hours of an XML duration ("PT16H0M0S", "P2DT4H", "PT0.5H"); days count `hoursPerDay`.
    static std::optional<double> hours(const QString& duration, double hoursPerDay);
    // The description and the dated notes of a notes text written by MspdiWriter; any other
    // text is all description.
    static void splitNotes(const QString& text, Plan::Item& item);
};

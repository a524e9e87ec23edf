#pragma once

#include "plan.h"

#include <QByteArray>

class QXmlStreamWriter;

// Writes a plan as MS Project XML (MSPDI), the form every planning tool reads: the project as
// the summary task (UID 0, outline level 0), its major activities as level-1 summary tasks and
// their actions as level-2 tasks; members as work resources, the project's team as a flag on
// them, and the team rows of major activities and actions as assignments. Elements come in the
// order the published schema gives them.
class MspdiWriter {
public:
    // The day's working hours: dates go out at the start and finish of a working day.
    static constexpr int StartHour = 8;
    static constexpr int FinishHour = 17;
    static constexpr int HoursPerDay = 8;
    // The project's own team travels as a flag on each member's resource (the resource custom
    // field Flag1), under this name: other programs show it as a column, Vok reads it back.
    static constexpr int TeamFieldId = 205521023;
    static QString teamAlias() { return QStringLiteral("Project team"); }

    // `fileName` is the document's own name, as other tools show it.
    static QByteArray write(const Plan& plan, const QString& fileName);

    // "PT7H30M0S": hours as an XML duration, to the minute.
    static QString duration(double hours);
    // Vok's notes of an item in one text: the description, then each note under a line
    // "[yyyy-MM-dd HH:mm author]". The reader splits them again.
    static QString notesText(const Plan::Item& item);

private:
    static void writeCalendar(QXmlStreamWriter& xml);
    static void writeTask(QXmlStreamWriter& xml, const Plan::Item& item, int uid, int level,
                          const QString& outline, bool summary);
};

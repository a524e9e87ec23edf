#include "mspdiwriter.h"

#include "framework/ui/clock.h"

#include <QLocale>
#include <QXmlStreamWriter>
#include <cmath>

namespace {

const QString dateTimeFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss");

QString at(const QDate& date, int hour) {
    return QDateTime(date, QTime(hour, 0)).toString(dateTimeFormat);
}

// Working days (Monday to Friday) from one date to another, both counted.
int workingDays(const QDate& from, const QDate& to) {
    int days = 0;
    for (QDate d = from; d <= to; d = d.addDays(1)) {
        if (d.dayOfWeek() <= 5)
            ++days;
    }
    return days;
}

// Currency amounts travel in hundredths, as MSPDI keeps them.
QString amount(double value) {
    return QString::number(std::round(value * 100.0), 'f', 0);
}

void flag(QXmlStreamWriter& xml, const char* name, bool on) {
    xml.writeTextElement(QLatin1String(name), on ? QStringLiteral("1") : QStringLiteral("0"));
}

// The budgets as baseline 0, the plan that the actuals are held against: the budget hours as
// its work (to the second, so that they come back as typed) and the budget as its cost.
void writeBaseline(QXmlStreamWriter& xml, const Plan::Item& item) {
    if (!item.budgetHours && !item.budget)
        return;
    xml.writeStartElement(QStringLiteral("Baseline"));
    xml.writeTextElement(QStringLiteral("Number"), QStringLiteral("0"));
    if (item.budgetHours) {
        const qint64 seconds = std::llround(*item.budgetHours * 3600.0);
        xml.writeTextElement(QStringLiteral("Work"), QStringLiteral("PT%1H%2M%3S")
                                                         .arg(seconds / 3600)
                                                         .arg(seconds / 60 % 60)
                                                         .arg(seconds % 60));
    }
    if (item.budget)
        xml.writeTextElement(QStringLiteral("Cost"), amount(*item.budget));
    xml.writeEndElement();
}

} // namespace

QString MspdiWriter::duration(double hours) {
    const qint64 minutes = std::llround(hours * 60.0);
    return QStringLiteral("PT%1H%2M0S").arg(minutes / 60).arg(minutes % 60);
}

QString MspdiWriter::notesText(const Plan::Item& item) {
    QStringList parts;
    if (!item.description.isEmpty())
        parts << item.description;
    for (const Plan::Note& note : item.notes) {
        QString head =
            QStringLiteral("[") + note.stamp.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
        if (!note.author.isEmpty())
            head += QLatin1Char(' ') + note.author;
        parts << head + QStringLiteral("]\n") + note.text;
    }
    return parts.join(QStringLiteral("\n\n"));
}

void MspdiWriter::writeCalendar(QXmlStreamWriter& xml) {
    xml.writeStartElement(QStringLiteral("Calendars"));
    xml.writeStartElement(QStringLiteral("Calendar"));
    xml.writeTextElement(QStringLiteral("UID"), QStringLiteral("1"));
    xml.writeTextElement(QStringLiteral("Name"), QStringLiteral("Standard"));
    flag(xml, "IsBaseCalendar", true);
    xml.writeTextElement(QStringLiteral("BaseCalendarUID"), QStringLiteral("-1"));
    xml.writeStartElement(QStringLiteral("WeekDays"));
    for (int day = 1; day <= 7; ++day) { // 1 Sunday to 7 Saturday
        xml.writeStartElement(QStringLiteral("WeekDay"));
        xml.writeTextElement(QStringLiteral("DayType"), QString::number(day));
        const bool working = day != 1 && day != 7;
        flag(xml, "DayWorking", working);
        if (working) {
            xml.writeStartElement(QStringLiteral("WorkingTimes"));
            for (const auto& [from, to] :
                 {std::pair{"08:00:00", "12:00:00"}, std::pair{"13:00:00", "17:00:00"}}) {
                xml.writeStartElement(QStringLiteral("WorkingTime"));
                xml.writeTextElement(QStringLiteral("FromTime"), QLatin1String(from));
                xml.writeTextElement(QStringLiteral("ToTime"), QLatin1String(to));
                xml.writeEndElement();
            }
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndElement(); // WeekDays
    xml.writeEndElement(); // Calendar
    xml.writeEndElement(); // Calendars
}

void MspdiWriter::writeTask(QXmlStreamWriter& xml, const Plan::Item& item, int uid, int level,
                            const QString& outline, bool summary) {
    // An item with one date only lasts that day.
    const QDate from = item.from.isValid() ? item.from : item.to;
    QDate to = item.to.isValid() ? item.to : item.from;
    if (from.isValid() && to < from)
        to = from;
    xml.writeStartElement(QStringLiteral("Task"));
    xml.writeTextElement(QStringLiteral("UID"), QString::number(uid));
    xml.writeTextElement(QStringLiteral("ID"), QString::number(uid));
    xml.writeTextElement(QStringLiteral("Name"), item.name);
    xml.writeTextElement(QStringLiteral("Type"), QStringLiteral("1")); // fixed duration
    flag(xml, "IsNull", false);
    if (!item.leader.isEmpty())
        xml.writeTextElement(QStringLiteral("Contact"), item.leader);
    if (level > 0) {
        xml.writeTextElement(QStringLiteral("WBS"), outline);
        xml.writeTextElement(QStringLiteral("OutlineNumber"), outline);
    }
    xml.writeTextElement(QStringLiteral("OutlineLevel"), QString::number(level));
    if (from.isValid()) {
        xml.writeTextElement(QStringLiteral("Start"), at(from, StartHour));
        xml.writeTextElement(QStringLiteral("Finish"), at(to, FinishHour));
        xml.writeTextElement(QStringLiteral("Duration"),
                             duration(workingDays(from, to) * HoursPerDay));
        xml.writeTextElement(QStringLiteral("DurationFormat"), QStringLiteral("7")); // days
    }
    if (item.budgetHours)
        xml.writeTextElement(QStringLiteral("Work"), duration(*item.budgetHours));
    flag(xml, "Milestone", false);
    flag(xml, "Summary", summary);
    flag(xml, "Critical", item.critical);
    // Completed is how the other tools mark it: all of it done, with an actual finish.
    xml.writeTextElement(QStringLiteral("PercentComplete"),
                         QString::number(item.completed ? 100 : item.percent));
    if (item.completed && from.isValid()) {
        xml.writeTextElement(QStringLiteral("ActualStart"), at(from, StartHour));
        xml.writeTextElement(QStringLiteral("ActualFinish"), at(to, FinishHour));
    }
    if (item.actual)
        xml.writeTextElement(QStringLiteral("ActualCost"), amount(*item.actual));
    if (item.hours)
        xml.writeTextElement(QStringLiteral("ActualWork"), duration(*item.hours));
    if (level > 0 && from.isValid()) {
        // Start no earlier than its start: tools that schedule keep the task where it was.
        xml.writeTextElement(QStringLiteral("ConstraintType"), QStringLiteral("4"));
        xml.writeTextElement(QStringLiteral("ConstraintDate"), at(from, StartHour));
    }
    const QString notes = notesText(item);
    if (!notes.isEmpty())
        xml.writeTextElement(QStringLiteral("Notes"), notes);
    writeBaseline(xml, item);
    xml.writeEndElement();
}

QByteArray MspdiWriter::write(const Plan& plan, const QString& fileName) {
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    xml.writeDefaultNamespace(QStringLiteral("http://schemas.microsoft.com/project"));
    xml.writeStartElement(QStringLiteral("Project"));
    xml.writeTextElement(QStringLiteral("SaveVersion"), QStringLiteral("14"));
    xml.writeTextElement(QStringLiteral("Name"), fileName);
    xml.writeTextElement(QStringLiteral("Title"), plan.project.name);
    if (!plan.client.isEmpty())
        xml.writeTextElement(QStringLiteral("Company"), plan.client);
    if (!plan.project.leader.isEmpty())
        xml.writeTextElement(QStringLiteral("Manager"), plan.project.leader);
    xml.writeTextElement(QStringLiteral("CreationDate"),
                         vok::Clock::now().toString(dateTimeFormat));
    flag(xml, "ScheduleFromStart", true);
    const QDate start = plan.project.from.isValid() ? plan.project.from : vok::Clock::today();
    xml.writeTextElement(QStringLiteral("StartDate"), at(start, StartHour));
    if (plan.project.to.isValid() && plan.project.to >= start)
        xml.writeTextElement(QStringLiteral("FinishDate"), at(plan.project.to, FinishHour));
    QString currency = QLocale().currencySymbol(QLocale::CurrencyIsoCode);
    if (currency.size() != 3)
        currency = QStringLiteral("USD");
    xml.writeTextElement(QStringLiteral("CurrencyCode"), currency);
    xml.writeTextElement(QStringLiteral("CalendarUID"), QStringLiteral("1"));
    xml.writeTextElement(QStringLiteral("DefaultStartTime"), QStringLiteral("08:00:00"));
    xml.writeTextElement(QStringLiteral("DefaultFinishTime"), QStringLiteral("17:00:00"));
    xml.writeTextElement(QStringLiteral("MinutesPerDay"), QString::number(HoursPerDay * 60));
    xml.writeTextElement(QStringLiteral("MinutesPerWeek"), QString::number(HoursPerDay * 60 * 5));
    xml.writeTextElement(QStringLiteral("DaysPerMonth"), QStringLiteral("20"));
    xml.writeTextElement(QStringLiteral("DurationFormat"), QStringLiteral("7"));
    xml.writeTextElement(QStringLiteral("WorkFormat"), QStringLiteral("2")); // hours
    if (!plan.project.team.isEmpty()) {
        xml.writeStartElement(QStringLiteral("ExtendedAttributes"));
        xml.writeStartElement(QStringLiteral("ExtendedAttribute"));
        xml.writeTextElement(QStringLiteral("FieldID"), QString::number(TeamFieldId));
        xml.writeTextElement(QStringLiteral("FieldName"), QStringLiteral("Flag1"));
        xml.writeTextElement(QStringLiteral("Alias"), teamAlias());
        xml.writeEndElement();
        xml.writeEndElement();
    }
    writeCalendar(xml);

    // Task numbers follow the outline; team rows need them for their assignments.
    struct Assigned {
        int task;
        QString member;
    };
    QList<Assigned> assigned;
    const auto assign = [&assigned](int task, const QStringList& team) {
        for (const QString& m : team)
            assigned << Assigned{task, m};
    };
    xml.writeStartElement(QStringLiteral("Tasks"));
    writeTask(xml, plan.project, 0, 0, QString(), true);
    int uid = 0;
    for (int i = 0; i < plan.majors.size(); ++i) {
        const Plan::Major& major = plan.majors[i];
        const QString outline = QString::number(i + 1);
        writeTask(xml, major, ++uid, 1, outline, true);
        assign(uid, major.team);
        for (int j = 0; j < major.actions.size(); ++j) {
            writeTask(xml, major.actions[j], ++uid, 2,
                      outline + QLatin1Char('.') + QString::number(j + 1), false);
            assign(uid, major.actions[j].team);
        }
    }
    xml.writeEndElement(); // Tasks

    if (!plan.members.isEmpty()) {
        xml.writeStartElement(QStringLiteral("Resources"));
        for (int i = 0; i < plan.members.size(); ++i) {
            const Plan::Member& m = plan.members[i];
            xml.writeStartElement(QStringLiteral("Resource"));
            xml.writeTextElement(QStringLiteral("UID"), QString::number(i + 1));
            xml.writeTextElement(QStringLiteral("ID"), QString::number(i + 1));
            xml.writeTextElement(QStringLiteral("Name"), m.name);
            xml.writeTextElement(QStringLiteral("Type"), QStringLiteral("1")); // work
            flag(xml, "IsNull", false);
            if (!m.email.isEmpty())
                xml.writeTextElement(QStringLiteral("EmailAddress"), m.email);
            if (plan.project.team.contains(m.name)) {
                xml.writeStartElement(QStringLiteral("ExtendedAttribute"));
                xml.writeTextElement(QStringLiteral("FieldID"), QString::number(TeamFieldId));
                xml.writeTextElement(QStringLiteral("Value"), QStringLiteral("1"));
                xml.writeEndElement();
            }
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    if (!assigned.isEmpty()) {
        xml.writeStartElement(QStringLiteral("Assignments"));
        for (int i = 0; i < assigned.size(); ++i) {
            int resource = 0;
            for (int r = 0; r < plan.members.size(); ++r) {
                if (plan.members[r].name == assigned[i].member)
                    resource = r + 1;
            }
            xml.writeStartElement(QStringLiteral("Assignment"));
            xml.writeTextElement(QStringLiteral("UID"), QString::number(i + 1));
            xml.writeTextElement(QStringLiteral("TaskUID"), QString::number(assigned[i].task));
            xml.writeTextElement(QStringLiteral("ResourceUID"), QString::number(resource));
            xml.writeTextElement(QStringLiteral("Units"), QStringLiteral("1"));
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndElement(); // Project
    xml.writeEndDocument();
    return out;
}

#include "icalendarwriter.h"

#include "framework/ui/clock.h"
#include "mspdiwriter.h"

namespace {

QString floating(const QDate& date, int hour) {
    return QDateTime(date, QTime(hour, 0)).toString(QStringLiteral("yyyyMMddTHHmmss"));
}

} // namespace

QString ICalendarWriter::escaped(const QString& text) {
    QString out;
    out.reserve(text.size());
    QString input = text;
    input.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (const QChar c : input) {
        if (c == QLatin1Char('\\') || c == QLatin1Char(';') || c == QLatin1Char(','))
            out += QLatin1Char('\\') + QString(c);
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r') || (c.unicode() < 0x20 && c != QLatin1Char('\t')) ||
                 c.unicode() == 0x7f)
            continue; // control characters are not allowed in a TEXT value
        else
            out += c;
    }
    return out;
}

QByteArray ICalendarWriter::folded(const QString& line) {
    const QByteArray utf8 = line.toUtf8();
    QByteArray out;
    int used = 0; // octets on the current physical line
    for (qsizetype i = 0; i < utf8.size();) {
        // One character: a lead byte and its continuation bytes.
        qsizetype n = 1;
        while (i + n < utf8.size() && (static_cast<unsigned char>(utf8[i + n]) & 0xC0) == 0x80)
            ++n;
        if (used + n > 75) {
            out += "\r\n ";
            used = 1;
        }
        out += utf8.mid(i, n);
        used += static_cast<int>(n);
        i += n;
    }
    return out + "\r\n";
}

bool ICalendarWriter::included(const Plan::Item& action, const QString& member) {
    return dated(action) && (member.isEmpty() || action.team.contains(member));
}

int ICalendarWriter::entries(const Plan& plan, const QString& member) {
    int n = 0;
    for (const Plan::Major& major : plan.majors) {
        for (const Plan::Item& action : major.actions)
            n += included(action, member) ? 1 : 0;
    }
    return n;
}

QByteArray ICalendarWriter::write(const Plan& plan, const QString& member) {
    QByteArray out;
    const auto line = [&out](const QString& text) { out += folded(text); };
    const QString stamp =
        vok::Clock::now().toUTC().toString(QStringLiteral("yyyyMMddTHHmmss")) + QLatin1Char('Z');
    line(QStringLiteral("BEGIN:VCALENDAR"));
    line(QStringLiteral("VERSION:2.0"));
    line(QStringLiteral("PRODID:-//Vok//Vok project planning//EN"));
    line(QStringLiteral("CALSCALE:GREGORIAN"));
    line(QStringLiteral("X-WR-CALNAME:") + escaped(plan.project.name));
    for (const Plan::Major& major : plan.majors) {
        for (const Plan::Item& action : major.actions) {
            if (!included(action, member))
                continue;
            const QDate from = action.from.isValid() ? action.from : action.to;
            QDate to = action.to.isValid() ? action.to : action.from;
            if (to < from)
                to = from;
            line(QStringLiteral("BEGIN:VTODO"));
            line(QStringLiteral("UID:vok-action-%1-%2-%3@vok")
                     .arg(plan.project.key)
                     .arg(major.key)
                     .arg(action.key));
            line(QStringLiteral("DTSTAMP:") + stamp);
            line(QStringLiteral("DTSTART:") + floating(from, MspdiWriter::StartHour));
            line(QStringLiteral("DUE:") + floating(to, MspdiWriter::FinishHour));
            line(QStringLiteral("SUMMARY:") +
                 escaped(plan.project.name + QStringLiteral(" / ") + major.name +
                         QStringLiteral(" / ") + action.name));
            if (!action.description.isEmpty())
                line(QStringLiteral("DESCRIPTION:") + escaped(action.description));
            line(QStringLiteral("PERCENT-COMPLETE:") + QString::number(action.percent));
            line(QStringLiteral("STATUS:") + (action.completed ? QStringLiteral("COMPLETED")
                                              : action.percent > 0
                                                  ? QStringLiteral("IN-PROCESS")
                                                  : QStringLiteral("NEEDS-ACTION")));
            if (action.critical)
                line(QStringLiteral("PRIORITY:1"));
            line(QStringLiteral("END:VTODO"));
        }
    }
    line(QStringLiteral("END:VCALENDAR"));
    return out;
}

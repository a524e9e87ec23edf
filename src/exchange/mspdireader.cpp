#include "mspdireader.h"

#include "framework/dataset/field.h"
#include "framework/io/showntext.h"
#include "mspdiwriter.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <stdexcept>

namespace {

// A task as the file holds it.
struct Task {
    QHash<QString, QString> values; // its simple elements by name
    int level = -1;
    qint64 line = 0; // where it starts in the file

    QString value(const char* name) const { return values.value(QLatin1String(name)); }
    bool has(const char* name) const { return values.contains(QLatin1String(name)); }
};

struct Resource {
    QString name;
    QString email;
    QString type;                       // 1 work (also when absent), 0 material, 2 cost
    QHash<QString, QString> attributes; // extended attribute values by field number
};

[[noreturn]] void refuse(const QString& fileName, const QString& why) {
    throw std::runtime_error(QStringLiteral("'%1' is refused: %2; nothing was imported")
                                 .arg(fileName, why)
                                 .toStdString());
}

class Parser {
public:
    Parser(const QByteArray& document, const QString& fileName)
        : xml_(document), fileName_(fileName) {}

    QHash<QString, QString> project; // the project's simple elements
    QList<Task> tasks;
    std::map<QString, Resource> resources;          // by UID
    QList<std::pair<QString, QString>> assignments; // task UID, resource UID
    QStringList resourceOrder;                      // UIDs, as the file lists them
    QHash<QString, QString> aliases;                // custom field names by field number
    int links = 0;                                  // dependencies between tasks

    void parse() {
        bool rooted = false;
        while (next()) {
            if (xml_.isStartElement()) {
                if (xml_.name() != QLatin1String("Project"))
                    refuse(fileName_, QStringLiteral("it is not MS Project XML (its first element "
                                                     "is <%1>, not <Project>)")
                                          .arg(xml_.name()));
                rooted = true;
                readProject();
            }
        }
        if (!rooted)
            refuse(fileName_, QStringLiteral("it holds no <Project> element"));
    }

private:
    // The next token; refuses what Vok never reads and what is not well-formed XML.
    bool next() {
        if (xml_.atEnd()) {
            check();
            return false;
        }
        xml_.readNext();
        check();
        if (xml_.tokenType() == QXmlStreamReader::DTD)
            refuse(fileName_, QStringLiteral("it has a document type declaration (<!DOCTYPE>), "
                                             "which MS Project XML never needs and which can "
                                             "declare entities"));
        if (xml_.tokenType() == QXmlStreamReader::EntityReference)
            refuse(fileName_, QStringLiteral("it refers to an entity ('&%1;') at line %2")
                                  .arg(xml_.name())
                                  .arg(xml_.lineNumber()));
        return !xml_.atEnd() || xml_.tokenType() != QXmlStreamReader::Invalid;
    }

    void check() {
        if (!xml_.hasError())
            return;
        if (xml_.error() == QXmlStreamReader::PrematureEndOfDocumentError)
            refuse(fileName_, QStringLiteral("it ends before its plan does (cut short at line %1)")
                                  .arg(xml_.lineNumber()));
        if (xml_.error() == QXmlStreamReader::NotWellFormedError &&
            xml_.errorString().contains(QLatin1String("ntity")))
            refuse(fileName_, QStringLiteral("it refers to an entity at line %1 (%2)")
                                  .arg(xml_.lineNumber())
                                  .arg(xml_.errorString()));
        refuse(fileName_, QStringLiteral("it is not well-formed XML at line %1: %2")
                              .arg(xml_.lineNumber())
                              .arg(xml_.errorString()));
    }

    // The simple elements of the current element into a table; nested groups are passed over.
    QHash<QString, QString> readValues(const std::function<bool(const QString&)>& group = {}) {
        QHash<QString, QString> values;
        while (next()) {
            if (xml_.isEndElement())
                break;
            if (!xml_.isStartElement())
                continue;
            const QString name = xml_.name().toString();
            if (group && group(name))
                continue;
            readText(values, name);
        }
        return values;
    }

    // The text of an element with no elements in it; an element with children is passed over.
    void readText(QHash<QString, QString>& values, const QString& name) {
        QString text;
        int depth = 1;
        bool simple = true;
        while (depth > 0 && next()) {
            if (xml_.isStartElement()) {
                ++depth;
                simple = false;
            } else if (xml_.isEndElement()) {
                --depth;
            } else if (depth == 1 && xml_.isCharacters()) {
                text += xml_.text();
            }
        }
        if (simple)
            values.insert(name, text);
    }

    void readProject() {
        project = readValues([this](const QString& name) {
            if (name == QLatin1String("Tasks"))
                readList("Task", MspdiReader::MaxTasks, "tasks", [this] {
                    const qint64 line = xml_.lineNumber();
                    QHash<QString, QString> baseline;
                    Task t{readValues([&](const QString& inner) {
                               if (inner == QLatin1String("PredecessorLink")) {
                                   ++links;
                                   readValues();
                                   return true;
                               }
                               return readBaseline(inner, baseline);
                           }),
                           -1, line};
                    t.values.insert(baseline);
                    tasks << t;
                });
            else if (name == QLatin1String("ExtendedAttributes"))
                readList("ExtendedAttribute", MspdiReader::MaxResources, "custom fields", [this] {
                    const QHash<QString, QString> v = readValues();
                    aliases.insert(v.value(QStringLiteral("FieldID")).trimmed(),
                                   v.value(QStringLiteral("Alias")).trimmed());
                });
            else if (name == QLatin1String("Resources"))
                readList("Resource", MspdiReader::MaxResources, "resources", [this] {
                    QHash<QString, QString> attributes;
                    const QHash<QString, QString> v = readValues([&](const QString& inner) {
                        if (inner != QLatin1String("ExtendedAttribute"))
                            return false;
                        const QHash<QString, QString> a = readValues();
                        attributes.insert(a.value(QStringLiteral("FieldID")).trimmed(),
                                          a.value(QStringLiteral("Value")).trimmed());
                        return true;
                    });
                    if (v.value(QStringLiteral("IsNull")) == QLatin1String("1"))
                        return;
                    resourceOrder << v.value(QStringLiteral("UID"));
                    resources[v.value(QStringLiteral("UID"))] = {
                        v.value(QStringLiteral("Name")).trimmed(),
                        v.value(QStringLiteral("EmailAddress")).trimmed(),
                        v.value(QStringLiteral("Type")).trimmed(), attributes};
                });
            else if (name == QLatin1String("Assignments"))
                readList("Assignment", MspdiReader::MaxAssignments, "assignments", [this] {
                    const QHash<QString, QString> v = readValues();
                    assignments << std::pair{v.value(QStringLiteral("TaskUID")).trimmed(),
                                             v.value(QStringLiteral("ResourceUID")).trimmed()};
                });
            else
                return false;
            return true;
        });
    }

    // Baseline 0 of a task, the plan the actuals are held against: its work and cost go into
    // `into` as "BaselineWork" and "BaselineCost". Other baselines are passed over.
    bool readBaseline(const QString& group, QHash<QString, QString>& into) {
        if (group != QLatin1String("Baseline"))
            return false;
        const QHash<QString, QString> v = readValues();
        if (v.value(QStringLiteral("Number")).trimmed() != QLatin1String("0"))
            return true;
        for (const char* name : {"Work", "Cost"}) {
            if (v.contains(QLatin1String(name)))
                into.insert(QStringLiteral("Baseline") + QLatin1String(name),
                            v.value(QLatin1String(name)));
        }
        return true;
    }

    void readList(const char* item, int most, const char* what, const std::function<void()>& read) {
        int count = 0;
        while (next()) {
            if (xml_.isEndElement())
                return;
            if (!xml_.isStartElement())
                continue;
            if (xml_.name() != QLatin1String(item)) {
                QHash<QString, QString> ignored;
                readText(ignored, QString());
                continue;
            }
            if (++count > most)
                refuse(fileName_, QStringLiteral("it holds more than %1 %2, more than any plan "
                                                 "Vok keeps")
                                      .arg(most)
                                      .arg(QLatin1String(what)));
            read();
        }
    }

    QXmlStreamReader xml_;
    QString fileName_;
};

// A task as messages name it: its UID, its name and where it is in the file.
QString taskName(const Task& t) {
    return QStringLiteral("task UID %1 '%2' (line %3)")
        .arg(vok::ShownText::escaped(t.value("UID").trimmed()),
             vok::ShownText::escaped(t.value("Name").trimmed()))
        .arg(t.line);
}

// The day of a date and time; invalid when the text holds none. A year Vok cannot keep (before
// 1 or after 9999) is refused with `what` the message names, never dropped or stored empty.
QDate dayOf(const QString& text, const QString& fileName, const QString& what) {
    static const QRegularExpression day(QStringLiteral("^\\s*(-?\\d+)-(\\d{2})-(\\d{2})"));
    const QRegularExpressionMatch m = day.match(text);
    if (!m.hasMatch())
        return {};
    bool ok = false;
    const qint64 year = m.captured(1).toLongLong(&ok);
    if (!ok || year < MspdiReader::FirstYear || year > MspdiReader::LastYear)
        refuse(fileName, QStringLiteral("%1 is '%2', outside the years %3 to %4 that Vok keeps")
                             .arg(what, vok::ShownText::escaped(text.trimmed()))
                             .arg(MspdiReader::FirstYear, 4, 10, QLatin1Char('0'))
                             .arg(MspdiReader::LastYear));
    return QDate(static_cast<int>(year), m.captured(2).toInt(), m.captured(3).toInt());
}

// The last day a finish counts: a finish at midnight ends the day before (a one-day task runs
// from 00:00 to the next 00:00), unless that would put it before the start.
QDate lastDayOf(const QString& text, const QDate& from, const QString& fileName,
                const QString& what) {
    static const QRegularExpression stamp(
        QStringLiteral("^\\s*(\\d{4}-\\d{2}-\\d{2})T(\\d{2}):(\\d{2})(?::(\\d{2}))?"));
    const QDate day = dayOf(text, fileName, what);
    const QRegularExpressionMatch m = stamp.match(text);
    const bool midnight = m.hasMatch() && m.captured(2).toInt() == 0 &&
                          m.captured(3).toInt() == 0 && m.captured(4).toInt() == 0;
    if (midnight && day.isValid() && (!from.isValid() || day > from))
        return day.addDays(-1);
    return day;
}

std::optional<double> numberOf(const QString& text) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// The working day `days` working days after `from` (counting `from` itself as the first; a
// start on a weekend counts from the Monday after it), counted by whole weeks, not day by day.
QDate afterWorkingDays(QDate from, qint64 days) {
    if (from.dayOfWeek() > 5)
        from = from.addDays(8 - from.dayOfWeek());
    const qint64 more = std::max<qint64>(days, 1) - 1;
    QDate d = from.addDays(more / 5 * 7);
    const int rest = static_cast<int>(more % 5);
    return d.addDays(d.dayOfWeek() + rest > 5 ? rest + 2 : rest);
}

// A task's date element; a year Vok cannot keep is refused with the task named.
QDate taskDay(const Task& t, const char* element, const QString& fileName) {
    return dayOf(t.value(element), fileName,
                 QStringLiteral("the %1 of %2").arg(QLatin1String(element), taskName(t)));
}

// The finish of a task that gives its start and its length only, a working day for each day's
// hours; one past the last year Vok keeps is refused.
QDate finishAfter(const Task& t, QDate from, std::optional<double> length, double hoursPerDay,
                  const QString& fileName) {
    const double days = length ? std::max(1.0, std::ceil(*length / hoursPerDay)) : 1.0;
    // More working days than the years Vok keeps hold ends past them, whatever the start.
    constexpr double mostDays = 366.0 * MspdiReader::LastYear;
    const QDate to = days > mostDays ? QDate() : afterWorkingDays(from, static_cast<qint64>(days));
    if (!to.isValid() || to.year() > MspdiReader::LastYear)
        refuse(fileName, QStringLiteral("%1 starts on %2 and lasts '%3', so it would end after "
                                        "the year %4, the last that Vok keeps")
                             .arg(taskName(t), from.toString(Qt::ISODate),
                                  vok::ShownText::escaped(t.value("Duration").trimmed()))
                             .arg(MspdiReader::LastYear));
    return to;
}

// A task's figure; one beyond what a number field holds is refused with the task named.
std::optional<double> checked(const Task& t, const char* element, std::optional<double> value,
                              const QString& fileName) {
    if (value && std::abs(*value) > vok::Field::LargestNumber)
        refuse(fileName, QStringLiteral("the %1 of %2 is '%3', too large a number (more than "
                                        "%4)")
                             .arg(QLatin1String(element), taskName(t),
                                  vok::ShownText::escaped(t.value(element).trimmed()))
                             .arg(vok::Field::LargestNumber, 0, 'f', 0));
    return value;
}

// A task's budgets from its baseline 0, where it has one: the hours of its work and the money
// of its cost (in hundredths). A negative value is no budget; one too large is refused.
void takeBaseline(const Task& t, Plan::Item& item, double hoursPerDay, const QString& fileName) {
    if (const auto work = checked(
            t, "BaselineWork", MspdiReader::hours(t.value("BaselineWork"), hoursPerDay), fileName);
        work && *work >= 0)
        item.budgetHours = work;
    if (const std::optional<double> cost = numberOf(t.value("BaselineCost")); cost && *cost >= 0)
        item.budget = checked(t, "BaselineCost", *cost / 100.0, fileName);
}

// Deeper levels only indent a folded task's line: a level past any outline is taken as the
// deepest, so that a file cannot make that line as long as it likes.
void clampLevel(Task& t, QStringList& clamped) {
    if (t.level >= 0 && t.level <= MspdiReader::MaxOutlineLevel)
        return;
    t.level = std::clamp(t.level, 0, MspdiReader::MaxOutlineLevel);
    clamped << taskName(t);
}

} // namespace

std::optional<double> MspdiReader::hours(const QString& duration, double hoursPerDay) {
    static const QRegularExpression form(
        QStringLiteral("^\\s*(-)?P(?:([\\d.]+)Y)?(?:([\\d.]+)M)?(?:([\\d.]+)W)?(?:([\\d.]+)D)?"
                       "(?:T(?:([\\d.]+)H)?(?:([\\d.]+)M)?(?:([\\d.]+)S)?)?\\s*$"));
    const QRegularExpressionMatch m = form.match(duration);
    if (!m.hasMatch())
        return std::nullopt;
    // Years, months and weeks of working time, as the file's working day measures them.
    const double perUnit[] = {0,
                              12 * 20 * hoursPerDay,
                              20 * hoursPerDay,
                              5 * hoursPerDay,
                              hoursPerDay,
                              1,
                              1.0 / 60,
                              1.0 / 3600};
    double total = 0;
    for (int i = 2; i <= 8; ++i) {
        if (m.captured(i).isEmpty())
            continue;
        const std::optional<double> v = numberOf(m.captured(i));
        if (!v)
            return std::nullopt;
        total += *v * perUnit[i - 1];
    }
    if (!m.captured(1).isEmpty())
        total = -total;
    return std::round(total * 3600.0) / 3600.0;
}

void MspdiReader::splitNotes(const QString& input, Plan::Item& item) {
    static const QRegularExpression head(
        QStringLiteral("^\\[(\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2})(?: ([^\\]\\n]{1,10}))?\\]$"));
    QString text = input;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QStringList lines = text.split(QLatin1Char('\n'));
    QStringList part;
    Plan::Note* note = nullptr;
    const auto close = [&](bool last) {
        // The writer puts one empty line between the parts.
        if (!last && !part.isEmpty() && part.last().isEmpty())
            part.removeLast();
        if (note)
            note->text = part.join(QLatin1Char('\n'));
        else
            item.description = part.join(QLatin1Char('\n'));
        part.clear();
    };
    for (int i = 0; i < lines.size(); ++i) {
        const QRegularExpressionMatch m = head.match(lines[i]);
        const bool starts = m.hasMatch() && (i == 0 || lines[i - 1].isEmpty());
        if (!starts) {
            part << lines[i];
            continue;
        }
        close(false);
        item.notes << Plan::Note{
            QDateTime::fromString(m.captured(1), QStringLiteral("yyyy-MM-dd HH:mm")), m.captured(2),
            QString()};
        note = &item.notes.last();
    }
    close(true);
}

MspdiReader::Result MspdiReader::read(const QByteArray& document, const QString& fileName) {
    Parser parser(document, fileName);
    parser.parse();
    Result result;
    Plan& plan = result.plan;

    double hoursPerDay = 8;
    if (const std::optional<double> minutes =
            numberOf(parser.project.value(QStringLiteral("MinutesPerDay")));
        minutes && *minutes > 0 && *minutes <= 24 * 60)
        hoursPerDay = *minutes / 60.0;

    // What a task holds, as an item of the plan.
    const auto itemOf = [hoursPerDay, &fileName](const Task& t) {
        Plan::Item item;
        item.name = t.value("Name").trimmed();
        item.leader = t.value("Contact").trimmed();
        item.from = taskDay(t, "Start", fileName);
        item.to = lastDayOf(t.value("Finish"), item.from, fileName,
                            QStringLiteral("the Finish of %1").arg(taskName(t)));
        if (item.from.isValid() && !item.to.isValid())
            item.to = finishAfter(t, item.from, hours(t.value("Duration"), hoursPerDay),
                                  hoursPerDay, fileName);
        if (!item.from.isValid())
            item.from = item.to;
        if (item.to.isValid() && item.to < item.from)
            item.to = item.from;
        std::optional<double> percent = numberOf(t.value("PercentComplete"));
        if (!percent)
            percent = numberOf(t.value("PercentWorkComplete"));
        item.percent = static_cast<int>(std::lround(std::clamp(percent.value_or(0), 0.0, 100.0)));
        // Done as the file's own tools mark it: all of it done, and an actual finish recorded.
        // Neither alone: some tools write an actual finish for every task they schedule, and a
        // task can be at 100 % and still open.
        item.completed = item.percent == 100 && !t.value("ActualFinish").trimmed().isEmpty();
        item.critical = t.value("Critical").trimmed() == QLatin1String("1") ||
                        t.value("Critical").trimmed() == QLatin1String("true");
        item.budgetHours = checked(t, "Work", hours(t.value("Work"), hoursPerDay), fileName);
        takeBaseline(t, item, hoursPerDay, fileName);
        item.hours = checked(t, "ActualWork", hours(t.value("ActualWork"), hoursPerDay), fileName);
        // Hundredths in the file.
        if (const std::optional<double> cost = numberOf(t.value("ActualCost")))
            item.actual = checked(t, "ActualCost", *cost / 100.0, fileName);
        splitNotes(t.value("Notes"), item);
        return item;
    };

    // The tasks that count, each with its outline level.
    QList<Task> tasks;
    int nulls = 0;
    QStringList clamped;
    const Task* summary = nullptr;
    for (Task& t : parser.tasks) {
        if (t.value("IsNull").trimmed() == QLatin1String("1")) {
            ++nulls;
            continue;
        }
        bool ok = false;
        t.level = t.value("OutlineLevel").trimmed().toInt(&ok);
        if (!ok) {
            const QString outline = t.value("OutlineNumber").trimmed();
            t.level = outline.isEmpty() ? 1 : static_cast<int>(outline.count(QLatin1Char('.'))) + 1;
            if (outline == QLatin1String("0"))
                t.level = 0;
        }
        clampLevel(t, clamped);
        if (t.value("UID").trimmed() == QLatin1String("0") && t.level == 0) {
            summary = &t;
            continue;
        }
        tasks << t;
    }
    if (nulls > 0)
        result.notices << QStringLiteral("%1 empty task row(s) left out").arg(nulls);
    if (!clamped.isEmpty())
        result.notices << QStringLiteral("%1 task(s) with an outline level outside 0 to %2 taken "
                                         "at the nearest of them: %3")
                              .arg(clamped.size())
                              .arg(MspdiReader::MaxOutlineLevel)
                              .arg(clamped.join(QStringLiteral(", ")));

    // The project.
    if (summary) {
        plan.project = itemOf(*summary);
        plan.project.critical = false;
    } else {
        plan.project.from = dayOf(parser.project.value(QStringLiteral("StartDate")), fileName,
                                  QStringLiteral("the project's StartDate"));
        plan.project.to =
            lastDayOf(parser.project.value(QStringLiteral("FinishDate")), plan.project.from,
                      fileName, QStringLiteral("the project's FinishDate"));
    }
    const QString manager = parser.project.value(QStringLiteral("Manager")).trimmed();
    if (!manager.isEmpty())
        plan.project.leader = manager;
    plan.client = parser.project.value(QStringLiteral("Company")).trimmed();
    plan.project.name = parser.project.value(QStringLiteral("Title")).trimmed();
    if (plan.project.name.isEmpty() && summary)
        plan.project.name = summary->value("Name").trimmed();
    if (plan.project.name.isEmpty())
        plan.project.name =
            QFileInfo(parser.project.value(QStringLiteral("Name")).trimmed()).completeBaseName();
    if (plan.project.name.isEmpty())
        plan.project.name = QFileInfo(fileName).completeBaseName().trimmed();

    // The outline: the shallowest level holds the major activities.
    int top = std::numeric_limits<int>::max();
    for (const Task& t : tasks)
        top = std::min(top, t.level);
    // Where each task's row went: 0 project, 1 a major activity, 2 an action, by index.
    struct Place {
        int level = -1;
        int major = -1;
        int action = -1;
    };
    QHash<QString, Place> places;
    if (summary)
        places.insert(summary->value("UID").trimmed(), Place{0, -1, -1});
    QStringList folded, promoted;
    for (const Task& t : tasks) {
        const QString uid = t.value("UID").trimmed();
        Plan::Major* major = plan.majors.isEmpty() ? nullptr : &plan.majors.last();
        if (t.level <= top || !major) {
            if (t.level > top)
                promoted << t.value("Name").trimmed();
            plan.majors << Plan::Major{itemOf(t), {}};
            places.insert(uid, Place{1, static_cast<int>(plan.majors.size()) - 1, -1});
            continue;
        }
        if (t.level == top + 1 || major->actions.isEmpty()) {
            major->actions << itemOf(t);
            places.insert(uid, Place{2, static_cast<int>(plan.majors.size()) - 1,
                                     static_cast<int>(major->actions.size()) - 1});
            continue;
        }
        // Deeper than an action: its line goes into the description of the action above it.
        Plan::Item& action = major->actions.last();
        const Plan::Item inner = itemOf(t);
        QString line =
            QString(2 * (t.level - top - 2), QLatin1Char(' ')) + QStringLiteral("- ") + inner.name;
        QStringList facts;
        if (inner.from.isValid())
            facts << inner.from.toString(Qt::ISODate) + QStringLiteral(" to ") +
                         inner.to.toString(Qt::ISODate);
        facts << QString::number(inner.percent) + QStringLiteral(" %");
        if (inner.budgetHours)
            facts << QString::number(*inner.budgetHours) + QStringLiteral(" h");
        line += QStringLiteral(" (") + facts.join(QStringLiteral(", ")) + QLatin1Char(')');
        const QString notes = inner.description;
        if (!notes.isEmpty())
            line += QLatin1Char('\n') + notes;
        action.description +=
            (action.description.isEmpty() ? QString() : QStringLiteral("\n")) + line;
        folded << QStringLiteral("'%1' into '%2'")
                      .arg(vok::ShownText::escaped(inner.name),
                           vok::ShownText::escaped(action.name));
        places.insert(uid, Place{2, static_cast<int>(plan.majors.size()) - 1,
                                 static_cast<int>(major->actions.size()) - 1});
    }
    if (!folded.isEmpty())
        result.notices << QStringLiteral("%1 task(s) deeper than an action folded into their "
                                         "action's description: %2")
                              .arg(folded.size())
                              .arg(folded.join(QStringLiteral(", ")));
    if (!promoted.isEmpty())
        result.notices << QStringLiteral("task(s) with no summary task above them made major "
                                         "activities: %1")
                              .arg(Plan::listed(promoted));

    // Members are the people: work resources. Material and cost resources are left out.
    QStringList otherKinds;
    const auto isMember = [&](const Resource& r) {
        return !r.name.isEmpty() && (r.type.isEmpty() || r.type == QLatin1String("1"));
    };
    QSet<QString> memberNames;
    const auto addMember = [&](const Resource& r) {
        if (memberNames.contains(r.name))
            return;
        memberNames.insert(r.name);
        plan.members << Plan::Member{r.name, r.email, QString()};
    };
    // The project's own team, where Vok's files keep it: a flag on each resource, under the
    // custom field name Vok gives it (another program's use of the same flag is not taken).
    const QString teamField = QString::number(MspdiWriter::TeamFieldId);
    const bool teamFlagged = parser.aliases.value(teamField) == MspdiWriter::teamAlias();
    for (const QString& uid : parser.resourceOrder) {
        const Resource& r = parser.resources[uid];
        if (!r.name.isEmpty() && !isMember(r)) {
            if (!otherKinds.contains(r.name))
                otherKinds << r.name;
            continue;
        }
        if (teamFlagged && isMember(r) && r.attributes.value(teamField) == QLatin1String("1")) {
            if (!plan.project.team.contains(r.name))
                plan.project.team << r.name;
            addMember(r);
        }
    }

    // Teams: one row per member and item, for each assignment of a member.
    int unplaced = 0;
    for (const auto& [taskUid, resourceUid] : parser.assignments) {
        const auto r = parser.resources.find(resourceUid);
        if (r == parser.resources.end() || !isMember(r->second))
            continue; // no one ("unassigned"), or not a person
        if (!places.contains(taskUid)) {
            ++unplaced;
            continue;
        }
        const Place& at = places[taskUid];
        Plan::Item& item = at.level == 0   ? plan.project
                           : at.level == 1 ? static_cast<Plan::Item&>(plan.majors[at.major])
                                           : plan.majors[at.major].actions[at.action];
        const QString& name = r->second.name;
        if (!item.team.contains(name))
            item.team << name;
        addMember(r->second);
    }
    if (unplaced > 0)
        result.notices << QStringLiteral("%1 assignment(s) to tasks the file does not hold left "
                                         "out")
                              .arg(unplaced);
    if (!otherKinds.isEmpty())
        result.notices << QStringLiteral("%1 resource(s) that are not people (material or cost) "
                                         "left out of the teams: %2")
                              .arg(otherKinds.size())
                              .arg(Plan::listed(otherKinds));
    if (parser.links > 0)
        result.notices << QStringLiteral("%1 dependency link(s) between tasks left out: Vok keeps "
                                         "each task's dates, not what they hang on")
                              .arg(parser.links);
    return result;
}

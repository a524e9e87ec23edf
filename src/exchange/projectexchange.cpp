#include "projectexchange.h"

#include "exchangefile.h"
#include "framework/dataset/store.h"
#include "framework/io/showntext.h"
#include "icalendarwriter.h"
#include "mspdireader.h"
#include "mspdiwriter.h"
#include "planloader.h"
#include "plansaver.h"

#include <QFileInfo>
#include <QSqlQuery>
#include <stdexcept>

ProjectExchange::ProjectExchange(vok::Store& store) : store_(store) {}

ProjectExchange::Format ProjectExchange::formatOf(const QString& path) {
    return QFileInfo(path).suffix().compare(QLatin1String("ics"), Qt::CaseInsensitive) == 0
               ? Format::ICalendar
               : Format::MsProjectXml;
}

int ProjectExchange::findProject(const QString& name) {
    return PlanLoader(store_).findProject(name);
}

ProjectExchange::Outcome
ProjectExchange::importFile(const QString& path, const QString& projectName,
                            const std::function<QString(const QString& taken)>& askName) {
    const QString shown = QFileInfo(path).fileName();
    MspdiReader::Result read = MspdiReader::read(ExchangeFile::read(path), shown);
    if (!projectName.isEmpty())
        read.plan.project.name = projectName;
    PlanSaver saver(store_);
    while (askName && saver.nameTaken(read.plan.project.name)) {
        // The name as the project there has it, not a look-alike's invisible characters.
        const QString other = askName(saver.takenBy(read.plan.project.name)).trimmed();
        if (other.isEmpty())
            return {};
        read.plan.project.name = other;
    }
    const PlanSaver::Result saved = saver.save(read.plan);
    QStringList lines;
    lines << QStringLiteral("Imported '%1' as project %2 '%3': %4 major activities, %5 actions")
                 .arg(vok::ShownText::escaped(shown))
                 .arg(saved.project)
                 .arg(vok::ShownText::escaped(saved.name))
                 .arg(read.plan.majors.size())
                 .arg(read.plan.actionCount());
    if (!saved.addedMembers.isEmpty())
        lines << QStringLiteral("New members: %1").arg(Plan::listed(saved.addedMembers));
    lines << read.notices << saved.notices;
    return {saved.project, lines};
}

ProjectExchange::Outcome ProjectExchange::exportFile(int project, const QString& path,
                                                     Format format, const QString& member) {
    const Plan plan = PlanLoader(store_).load(project);
    const QString folder = store_.isServer() ? QString() : store_.folder();
    if (format == Format::MsProjectXml) {
        if (!member.isEmpty())
            throw std::runtime_error("a member chooses the to-dos of an iCalendar file; MS Project "
                                     "XML holds the whole project");
        ExchangeFile::write(path, MspdiWriter::write(plan, QFileInfo(path).fileName()), folder);
        return {project,
                {QStringLiteral("Wrote '%1': project '%2', %3 major activities, %4 actions, %5 "
                                "members")
                     .arg(path, vok::ShownText::escaped(plan.project.name))
                     .arg(plan.majors.size())
                     .arg(plan.actionCount())
                     .arg(plan.members.size())}};
    }
    if (!member.isEmpty()) {
        QSqlQuery q = store_.exec(
            QStringLiteral("SELECT COUNT(*) FROM members WHERE Member_name = ?"), {member});
        const bool inTeams = std::any_of(plan.members.cbegin(), plan.members.cend(),
                                         [&](const Plan::Member& m) { return m.name == member; });
        if (!inTeams && (!q.next() || q.value(0).toInt() == 0))
            throw std::runtime_error(
                QStringLiteral("no member is named '%1'").arg(member).toStdString());
    }
    ExchangeFile::write(path, ICalendarWriter::write(plan, member), folder);
    const int n = ICalendarWriter::entries(plan, member);
    return {project,
            {member.isEmpty() ? QStringLiteral("Wrote '%1': %2 to-dos of project '%3'")
                                    .arg(path)
                                    .arg(n)
                                    .arg(vok::ShownText::escaped(plan.project.name))
                              : QStringLiteral("Wrote '%1': %2 to-dos of project '%3' for '%4'")
                                    .arg(path)
                                    .arg(n)
                                    .arg(vok::ShownText::escaped(plan.project.name),
                                         vok::ShownText::escaped(member))}};
}

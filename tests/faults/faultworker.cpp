// Another installation at work on a data folder, for the concurrency suite: it edits projects and
// adds time sheet and cost lines through the record-sets as a user does, or runs the two merges
// over and over, for a given time. What it did goes to standard output, every error it met to
// standard error as "ERROR: <text>".
//
//   faultworker edit DIR SECONDS N   (N: 1 or 2, the editor's number and its member "Crew N")
//   faultworker merge DIR SECONDS
//   faultworker hold DIR MILLISECONDS  (holds the write lock of the folder that long)
#include "costs/costmerge.h"
#include "data/projectdata.h"
#include "faultfolder.h"
#include "framework/dataset/databaseerror.h"
#include "framework/dataset/store.h"
#include "timesheets/memberfile.h"
#include "timesheets/memberlist.h"
#include "timesheets/timesheetmerge.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMap>
#include <QTextStream>
#include <QThread>
#include <cstdio>
#include <functional>

namespace {

QTextStream out(stdout);
QTextStream err(stderr);

void connect(ProjectData& dm, const QString& dir) {
    dm.DataPath = dir;
    dm.connectTo(dir);
    for (vok::Table* t : {dm.projects, dm.Major, dm.Action, dm.Members})
        t->open();
}

// Runs one step; an error is told and the worker goes on, as a user would after the message.
void attempt(const std::function<void()>& step) {
    try {
        step();
    } catch (const vok::DatabaseError& e) {
        err << "ERROR: " << e.message() << "\n";
        err.flush();
    }
}

void fillLine(vok::Table& t, const QString& prefix, const QString& quantity, int k,
              const QString& notes) {
    const int p = k % 6 + 1;
    t.fieldByName(prefix + QStringLiteral("_project"))
        .setAsString(QStringLiteral("Project %1").arg(p));
    if (k % 2 == 1)
        t.fieldByName(prefix + QStringLiteral("_Major"))
            .setAsString(QStringLiteral("Major %1.%2").arg(p).arg(k % 4 / 2 + 1));
    t.fieldByName(prefix + QStringLiteral("_Date_from")).setAsDate(QDate(2024, 2, 5));
    t.fieldByName(prefix + QStringLiteral("_Date_to")).setAsDate(QDate(2024, 2, 9));
    t.fieldByName(quantity).setAsFloat(0.25 * (k % 8 + 1));
    t.fieldByName(prefix + QStringLiteral("_Notes")).setAsString(notes);
}

int edit(const QString& dir, int seconds, int id) {
    ProjectData dm;
    connect(dm, dir);
    vok::Table& lines = *dm.MemberTS;
    lines.setTableName(MemberFile::fileName(FaultFolder::memberName(id)));
    lines.open();
    dm.CostEntry->open();
    // Editor 1 writes the clients of the projects, editor 2 their objectives.
    const QString field =
        id == 1 ? QStringLiteral("Zel_client") : QStringLiteral("Zel_description");
    QMap<int, QString> last;
    int timeSheetLines = 0;
    int costLines = 0;
    const QDeadlineTimer deadline(seconds * 1000);
    for (int k = 0; !deadline.hasExpired(); ++k) {
        switch (k % 3) {
        case 0:
            attempt([&] {
                lines.append();
                fillLine(lines, QStringLiteral("MemberTS"), QStringLiteral("MemberTS_Hours"), k,
                         QStringLiteral("e%1-t%2").arg(id).arg(k));
                lines.post();
                ++timeSheetLines;
            });
            break;
        case 1:
            attempt([&] {
                dm.CostEntry->append();
                fillLine(*dm.CostEntry, QStringLiteral("Cost"), QStringLiteral("Cost_Amount"), k,
                         QStringLiteral("e%1-c%2").arg(id).arg(k));
                dm.CostEntry->post();
                ++costLines;
            });
            break;
        default:
            attempt([&] {
                const int project = k / 3 % 6 + 1;
                if (!dm.projects->findKey({project}))
                    throw vok::DatabaseError(QStringLiteral("project %1 not found").arg(project));
                const QString value = QStringLiteral("e%1-%2").arg(id).arg(k);
                dm.projects->edit();
                dm.projects->fieldByName(field).setAsString(value);
                // A merge that raised the project's totals since it was read is merged under
                // this field; only another worker's write to the same field is refused, with
                // the typed value kept in edit: posting again stores it over theirs.
                for (int tries = 0;; ++tries) {
                    try {
                        dm.projects->post();
                        break;
                    } catch (const vok::DatabaseError&) {
                        if (!dm.projects->isEditing() || tries == 20)
                            throw;
                    }
                }
                last[project] = value;
            });
        }
    }
    out << "time sheet lines " << timeSheetLines << "\n";
    out << "cost lines " << costLines << "\n";
    for (auto it = last.cbegin(); it != last.cend(); ++it)
        out << "project " << it.key() << " " << it.value() << "\n";
    return 0;
}

int merge(const QString& dir, int seconds) {
    ProjectData dm;
    connect(dm, dir);
    const QDeadlineTimer deadline(seconds * 1000);
    int timeSheetLines = 0;
    int costLines = 0;
    while (!deadline.hasExpired()) {
        attempt([&] {
            const MergeReport report = TimeSheetMerge(dm).run(MemberList::names(*dm.Members));
            for (const MergeReport::Skipped& s : report.skipped)
                err << "ERROR: " << s.source << ": " << s.reason << "\n";
            timeSheetLines += report.lines;
        });
        attempt([&] { costLines += CostMerge(dm).run().lines; });
        QThread::msleep(20); // a user pressing Update again and again, not a machine gun
    }
    out << "merged time sheet lines " << timeSheetLines << "\n";
    out << "merged cost lines " << costLines << "\n";
    return 0;
}

// Holds the folder's write lock for a while, as another installation's long merge would.
int hold(const QString& dir, int milliseconds) {
    vok::Store store;
    store.setParams({QStringLiteral("path=") + dir});
    store.begin();
    out << "held\n";
    out.flush();
    QThread::msleep(static_cast<unsigned long>(milliseconds));
    store.commit();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 4 && args[1] == QLatin1String("merge"))
        return merge(args[2], args[3].toInt());
    if (args.size() >= 4 && args[1] == QLatin1String("hold"))
        return hold(args[2], args[3].toInt());
    if (args.size() >= 5 && args[1] == QLatin1String("edit"))
        return edit(args[2], args[3].toInt(), args[4].toInt());
    std::fputs("usage: faultworker edit DIR SECONDS N | merge DIR SECONDS | hold DIR MS\n", stderr);
    return 2;
}

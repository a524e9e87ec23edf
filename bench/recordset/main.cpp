// Walks a 1,000 x 10 x 10 hierarchy through the record-sets (each project, each of its major
// activities, each of their actions) and reads the same rows with three plain SELECTs, in one run.
#include "benchsummary.h"
#include "data/datafolder.h"
#include "data/projectdata.h"
#include "framework/dataset/engineconfig.h"
#include "rawhierarchy.h"
#include "sizedfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {

long peakKb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

struct Walk {
    qint64 projects = 0;
    qint64 majors = 0;
    qint64 actions = 0;
    qint64 checksum = 0;
};

Walk walkRecordSets(ProjectData& dm) {
    Walk w;
    vok::Table& p = *dm.projects;
    vok::Table& m = *dm.Major;
    vok::Table& a = *dm.Action;
    const vok::Field& pname = p.fieldByName(QStringLiteral("Zel_project"));
    const vok::Field& mname = m.fieldByName(QStringLiteral("Major_item"));
    const vok::Field& aname = a.fieldByName(QStringLiteral("Action_name"));
    const vok::Field& aid = a.fieldByName(QStringLiteral("Action_id"));
    for (p.first(); !p.eof(); p.next()) {
        ++w.projects;
        w.checksum += pname.asString().size();
        for (m.first(); !m.eof(); m.next()) {
            ++w.majors;
            w.checksum += mname.asString().size();
            for (a.first(); !a.eof(); a.next()) {
                ++w.actions;
                w.checksum += aname.asString().size() + aid.asInteger();
            }
        }
    }
    return w;
}

// The same three SELECTs through the SQL driver's query objects, for comparison.
qint64 driverSql(vok::Store& store) {
    QElapsedTimer t;
    t.start();
    for (const char* sql : {"SELECT * FROM projects ORDER BY Zel_Project_id",
                            "SELECT * FROM major ORDER BY Major_project_id, Major_id",
                            "SELECT * FROM action ORDER BY Action_project_id, Action_major_id, "
                            "Action_id"}) {
        QSqlQuery q = store.exec(QLatin1String(sql));
        const int columns = q.record().count();
        while (q.next()) {
            for (int c = 0; c < columns; ++c)
                (void)q.value(c);
        }
    }
    return t.nsecsElapsed();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int projects = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;
    const SizedFolder sized(projects, 10, 10);
    const QString& folder = sized.path();
    QElapsedTimer t;

    ProjectData dm;
    dm.connectTo(folder);
    dm.projects->open();
    dm.Major->open();
    dm.Action->open();
    const long before = peakKb();

    // Warm the file cache once, then measure each side the same number of times, best of three.
    RawHierarchy::read(*dm.store);
    qint64 bestWalk = -1;
    qint64 bestRaw = -1;
    Walk w;
    RawHierarchy r;
    for (int i = 0; i < 3; ++i) {
        t.restart();
        w = walkRecordSets(dm);
        const qint64 walkNs = t.nsecsElapsed();
        r = RawHierarchy::read(*dm.store);
        const qint64 rawNs = r.nanoseconds;
        bestWalk = bestWalk < 0 ? walkNs : std::min(bestWalk, walkNs);
        bestRaw = bestRaw < 0 ? rawNs : std::min(bestRaw, rawNs);
    }
    if (w.projects != r.projects || w.majors != r.majors || w.actions != r.actions ||
        w.checksum != r.checksum) {
        std::printf("MISMATCH: walk %lld/%lld/%lld sum %lld, raw %lld/%lld/%lld sum %lld\n",
                    w.projects, w.majors, w.actions, w.checksum, r.projects, r.majors, r.actions,
                    r.checksum);
        return 1;
    }
    std::printf("rows: %lld projects, %lld major activities, %lld actions\n", w.projects, w.majors,
                w.actions);
    std::printf("record-set walk: %.1f ms\n", bestWalk / 1e6);
    std::printf("raw SQL baseline: %.1f ms\n", bestRaw / 1e6);
    const double ratio = double(bestWalk) / double(bestRaw);
    std::printf("ratio: %.2f (goal <= 1.3)\n", ratio);
    std::printf(
        "for comparison, the same SELECTs through the SQL driver's query objects: %.1f ms\n",
        driverSql(*dm.store) / 1e6);
    std::printf("peak memory: %.1f MB (%.1f MB before the walks)\n", peakKb() / 1024.0,
                before / 1024.0);
    const bool met = BenchSummary::report(
        QStringLiteral("record-set walk %1 x 10 x 10").arg(projects), ratio, 1.3);
    return met ? 0 : 3;
}

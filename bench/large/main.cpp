// Vok's cost as the folder grows: at 1x, 3x and 10x (1,000, 3,000 and 10,000 projects of 10 major
// activities of 10 actions each; 10x is 1.11 million nodes) the start-up of the main window until
// its tree shows, the memory the process took by then (peak RSS), a merge of 10,000 time-sheet
// lines and the time line of one project. Each should stay flat or grow with the work itself.
//
//   bench_large [scale ...]        the scales to measure (default 0 1 3 10; 0 is an empty folder,
//                                  the start-up's part that does not depend on the data)
//   bench_large --window           the start-up measured: the main window on the folder named by
//                                  Data in $XDG_CONFIG_DIRS/Vok.conf, until its tree shows
#include "benchsummary.h"
#include "data/projectdata.h"
#include "framework/report/reportdocument.h"
#include "framework/report/reportpdf.h"
#include "framework/ui/clock.h"
#include "memberfiles.h"
#include "reports/reportsession.h"
#include "reports/timelinereport.h"
#include "sizedfolder.h"
#include "timesheets/timesheetmerge.h"
#include "ui/main/mainwindow.h"
#include "ui/main/treecontroller.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTreeWidget>
#include <algorithm>
#include <sys/resource.h>

namespace {

constexpr int StartupGoalMs = 300;
constexpr int MemoryGoalMb = 200;

QTextStream& out() {
    static QTextStream s(stdout);
    return s;
}

double peakMb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024.0;
}

// Processor time of the process so far: on a machine shared with other work, the wall time also
// counts the waits for a processor.
double processorMs() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

double median(QList<double> v) {
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v[v.size() / 2];
}

// The child: the main window and its data module as start-up makes them, shown; the first
// activation connects, opens the tables and builds the tree.
int showWindow(int argc, char** argv) {
    QApplication app(argc, argv);
    MainWindow form;
    ProjectData dm;
    form.setDataModule(&dm);
    form.show();
    QElapsedTimer wait;
    wait.start();
    // The first activation connects and builds the tree in one go.
    while (!dm.store->isOpen() && wait.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    // The tree painted once.
    form.tree->view()->viewport()->repaint();
    QCoreApplication::processEvents();
    std::printf("shown %d %.1f %.1f\n", form.tree->view()->topLevelItemCount(), peakMb(),
                processorMs());
    std::fflush(stdout);
    return dm.store->isOpen() ? 0 : 1;
}

struct Startup {
    double ms = 0;
    double mb = 0;
    double cpuMs = 0;
};

// From starting the process until its tree shows, as the user waits for it.
Startup startWindow(const QString& folder, int projects) {
    QTemporaryDir conf;
    QFile file(QDir(conf.path()).filePath(QStringLiteral("Vok.conf")));
    if (!file.open(QIODevice::WriteOnly))
        qFatal("bench_large: cannot write Vok.conf");
    file.write("[Vok]\nData=" + folder.toUtf8() + "\nLanguage=0\n");
    file.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_DIRS"), conf.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess child;
    child.setProcessEnvironment(env);
    QElapsedTimer t;
    t.start();
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--window")});
    QByteArray line;
    while (!line.contains('\n') && child.waitForReadyRead(60000))
        line += child.readAllStandardOutput();
    const double ms = t.nsecsElapsed() / 1e6;
    child.waitForFinished(60000);
    const QList<QByteArray> parts = line.trimmed().split(' ');
    if (parts.size() != 4 || parts[0] != "shown" || (parts[1].toInt() == 0) != (projects == 0))
        qFatal("bench_large: the window did not show its tree: %s %s", line.constData(),
               child.readAllStandardError().constData());
    return {ms, parts[2].toDouble(), parts[3].toDouble()};
}

// A merge of 10 members' files of 1,000 lines each, lines in runs of five.
double merge(const QString& folder, int projects) {
    constexpr int Members = 10;
    MemberFiles::write(folder, Members, 1000, projects, MemberFiles::Spread::Runs);
    ProjectData dm;
    dm.DataPath = folder;
    dm.connectTo(folder);
    for (vok::Table* t : {dm.projects, dm.Major, dm.Action})
        t->open();
    QElapsedTimer t;
    t.start();
    TimeSheetMerge merge(dm);
    const int lines = merge.run(MemberFiles::memberNames(Members)).lines;
    const double ms = t.nsecsElapsed() / 1e6;
    if (lines != Members * 1000)
        qFatal("bench_large: %d lines merged", lines);
    return ms;
}

// The time line of one project (10 major activities of 10 actions), laid out and written.
double timeLine(const QString& folder, const QString& pdf) {
    ReportSession session(folder);
    session.printProject = QStringLiteral("Project 1");
    TimeLineReport report(&session.dm, [] { return TimeLineOptions{}; });
    QList<double> runs;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer t;
        t.start();
        vok::ReportPdf::write(report.run(), pdf);
        runs << t.nsecsElapsed() / 1e6;
    }
    return median(runs);
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && QByteArray(argv[1]) == "--window")
        return showWindow(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    vok::Clock::setFixed(QDateTime(QDate(2024, 1, 15), QTime(9, 0)));
    QList<int> scales;
    for (int i = 1; i < argc; ++i)
        scales << std::max(1, QByteArray(argv[i]).toInt());
    if (scales.isEmpty())
        scales = {0, 1, 3, 10};

    struct Row {
        int scale;
        Startup startup;
        double mergeMs;
        double timeLineMs;
    };
    QList<Row> rows;
    for (const int scale : std::as_const(scales)) {
        const int projects = 1000 * scale;
        const QString label =
            scale == 0 ? QStringLiteral("empty") : QStringLiteral("%1x").arg(scale);
        SizedFolder sized(projects, 10, 10);
        // Start-up three times, the median time and the largest memory.
        QList<double> times;
        QList<double> cpu;
        double mb = 0;
        for (int i = 0; i < 3; ++i) {
            const Startup s = startWindow(sized.path(), projects);
            times << s.ms;
            cpu << s.cpuMs;
            mb = std::max(mb, s.mb);
        }
        // An empty folder has no project to print or book on.
        const double pdfMs =
            scale == 0 ? 0
                       : timeLine(sized.path(),
                                  QDir(sized.root()).filePath(QStringLiteral("timeline.pdf")));
        const double mergeMs = scale == 0 ? 0 : merge(sized.path(), projects);
        rows.append({scale, {median(times), mb, median(cpu)}, mergeMs, pdfMs});
        out() << QStringLiteral("%1 (%2 nodes): start-up %3 ms (processor %7 ms), peak %4 MB, "
                                "merge of 10,000 lines %5 ms, time line of one project %6 ms\n")
                     .arg(label)
                     .arg(projects * 111)
                     .arg(median(times), 0, 'f', 0)
                     .arg(mb, 0, 'f', 0)
                     .arg(mergeMs, 0, 'f', 0)
                     .arg(pdfMs, 0, 'f', 0)
                     .arg(median(cpu), 0, 'f', 0);
        out().flush();
    }
    out() << "\n| folder | nodes | start-up until the tree shows (processor time) | peak memory | "
             "merge of 10,000 lines | time line of one project |\n|---|---|---|---|---|---|\n";
    for (const Row& r : std::as_const(rows))
        out() << QStringLiteral("| %1 | %2 | %3 ms (%7 ms) | %4 MB | %5 | %6 |\n")
                     .arg(r.scale == 0 ? QStringLiteral("empty")
                                       : QStringLiteral("%1x").arg(r.scale))
                     .arg(QLocale(QLocale::English).toString(r.scale * 111000))
                     .arg(r.startup.ms, 0, 'f', 0)
                     .arg(r.startup.mb, 0, 'f', 0)
                     .arg(r.scale == 0 ? QStringLiteral("-")
                                       : QStringLiteral("%1 ms").arg(r.mergeMs, 0, 'f', 0))
                     .arg(r.scale == 0 ? QStringLiteral("-")
                                       : QStringLiteral("%1 ms").arg(r.timeLineMs, 0, 'f', 0))
                     .arg(r.startup.cpuMs, 0, 'f', 0);
    out().flush();
    const Row& largest = rows.last();
    const QString name = QStringLiteral("%1x folder").arg(largest.scale);
    // The goal is the time on a machine of its own: the processor time the start-up takes (the
    // wall time, which on a shared machine also counts the waits for a processor, is printed
    // above).
    const bool startup = BenchSummary::report(
        name + QStringLiteral(", start-up until the tree shows, processor time"),
        largest.startup.cpuMs, StartupGoalMs, QStringLiteral(" ms"));
    const bool memory =
        BenchSummary::report(name + QStringLiteral(", peak memory"), largest.startup.mb,
                             MemoryGoalMb, QStringLiteral(" MB"));
    return startup && memory ? 0 : 3;
}

// A 1,000-row time line (one project, 40 major activities of 24 actions: about 40 pages) laid
// out and written to a PDF, against a baseline that reads the same rows with raw SQL and paints
// the same boxes and texts straight into a PDF.
#include "benchsummary.h"
#include "data/datafolder.h"
#include "framework/report/reportdocument.h"
#include "framework/report/reportpdf.h"
#include "framework/ui/clock.h"
#include "reports/reportsession.h"
#include "reports/timelinereport.h"
#include "sizedfolder.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QPdfWriter>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>

namespace {

struct Row {
    QString name;
    QString from;
    QString to;
};

// What a hand-written report would do: one query, rows painted as they come.
double baseline(const QString& folder, const QString& pdf, int& rows) {
    QElapsedTimer t;
    t.start();
    vok::Store store;
    store.setParams({QStringLiteral("path=") + folder});
    store.open();
    QList<Row> all;
    QSqlQuery majors = store.exec(
        QStringLiteral("SELECT Major_id, Major_item, Major_from_date, Major_to_date FROM major "
                       "WHERE Major_project_id = 1 ORDER BY Major_id"));
    while (majors.next()) {
        all.append(
            {majors.value(1).toString(), majors.value(2).toString(), majors.value(3).toString()});
        QSqlQuery actions = store.exec(
            QStringLiteral(
                "SELECT Action_name, Action_from_date, Action_to_date FROM action "
                "WHERE Action_project_id = 1 AND Action_major_id = ? ORDER BY Action_id"),
            {majors.value(0)});
        while (actions.next())
            all.append({actions.value(0).toString(), actions.value(1).toString(),
                        actions.value(2).toString()});
    }
    rows = static_cast<int>(all.size());
    QPdfWriter writer(pdf);
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::Legal), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
    writer.setResolution(1200);
    QPainter p(&writer);
    const qreal s = 1200.0 / 96;
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(8);
    p.setFont(font);
    QFont small(QStringLiteral("Liberation Sans"));
    small.setPointSizeF(6);
    // The page furniture a time line repeats: the scale's 210 labels, its frame and three lines.
    const auto pageFurniture = [&] {
        p.setFont(small);
        for (int i = 0; i < 105; ++i) {
            p.drawText(QRectF((180 + 10 * i) * s, 144 * s, 9 * s, 10 * s), 0,
                       QString::number(i % 31 + 1));
            p.drawText(QRectF((180 + 10 * i) * s, 125 * s, 9 * s, 10 * s), 0, QStringLiteral("M"));
        }
        p.drawLine(QLineF(180 * s, 123 * s, 1230 * s, 123 * s));
        p.drawLine(QLineF(180 * s, 164 * s, 1230 * s, 164 * s));
        for (const qreal x : {176.5, 300.0, 500.0})
            p.drawLine(QLineF(x * s, 120 * s, x * s, 789 * s));
        p.setFont(font);
    };
    pageFurniture();
    qreal y = 193;
    for (int i = 0; i < all.size(); ++i) {
        if (y + 24 > 792) {
            writer.newPage();
            pageFurniture();
            y = 169;
        }
        p.drawText(QRectF(32 * s, (y + 4) * s, 137 * s, 17 * s), Qt::TextWordWrap, all[i].name);
        p.fillRect(QRectF((180 + i % 50) * s, (y + 4) * s, 60 * s, 17 * s), QColor(128, 128, 128));
        p.drawText(QRectF((245 + i % 50) * s, (y + 3) * s, 63 * s, 13 * s), 0, all[i].from);
        p.drawText(QRectF((310 + i % 50) * s, (y + 3) * s, 15 * s, 13 * s), 0,
                   QStringLiteral("-->"));
        p.drawText(QRectF((327 + i % 50) * s, (y + 3) * s, 63 * s, 13 * s), 0, all[i].to);
        y += 24;
    }
    p.end();
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const SizedFolder sized(1, 40, 24);
    QTemporaryDir dir;
    const QString& folder = sized.path();
    vok::Clock::setFixed(QDateTime(QDate(2024, 1, 15), QTime(9, 0)));

    ReportSession session(folder);
    session.printProject = QStringLiteral("Project 1");
    TimeLineReport report(&session.dm, [] { return TimeLineOptions{}; });

    const QString pdf = QDir(dir.path()).filePath(QStringLiteral("timeline.pdf"));
    const QString rawPdf = QDir(dir.path()).filePath(QStringLiteral("raw.pdf"));
    QList<double> layout, write, raw;
    int pages = 0;
    int rows = 0;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer t;
        t.start();
        const vok::ReportDocument doc = report.run();
        layout << t.nsecsElapsed() / 1e6;
        t.restart();
        vok::ReportPdf::write(doc, pdf);
        write << t.nsecsElapsed() / 1e6;
        pages = static_cast<int>(doc.pages.size());
        raw << baseline(folder, rawPdf, rows);
    }
    const auto median = [](QList<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    const double l = median(layout);
    const double w = median(write);
    const double b = median(raw);
    out << "time line: " << rows << " rows, " << pages << " pages (median of 5 runs)\n";
    out << "  layout (record-sets, handlers, pages)  " << QString::number(l, 'f', 1) << " ms\n";
    out << "  PDF                                     " << QString::number(w, 'f', 1) << " ms\n";
    out << "  total                                   " << QString::number(l + w, 'f', 1)
        << " ms (goal 1000 ms)\n";
    out << "  raw SQL + direct painting baseline      " << QString::number(b, 'f', 1) << " ms\n";
    out << "  ratio total / baseline                  " << QString::number((l + w) / b, 'f', 2)
        << "\n";
    const bool met = BenchSummary::report(QStringLiteral("time line, %1 rows to PDF").arg(rows),
                                          (l + w) / b, 1.5);
    const bool fast =
        BenchSummary::report(QStringLiteral("time line, %1 rows to PDF, total").arg(rows), l + w,
                             1000, QStringLiteral(" ms"));
    return fast && met ? 0 : 1;
}

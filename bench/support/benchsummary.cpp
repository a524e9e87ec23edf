#include "benchsummary.h"

#include "sizedfolder.h"

#include <cstdio>

namespace BenchSummary {

bool report(const QString& figure, double value, double goal, const QString& unit) {
    const bool met = value <= goal;
    // The engine is part of the figure: the same benchmark runs on both.
    const QString engine =
        SizedFolder::onServer() ? QStringLiteral("PostgreSQL") : QStringLiteral("SQLite");
    const int digits = unit.isEmpty() ? 2 : 0;
    std::printf("summary: %s, %s | %s%s | <= %s%s | %s\n", qPrintable(figure), qPrintable(engine),
                qPrintable(QString::number(value, 'f', digits)), qPrintable(unit),
                qPrintable(QString::number(goal, 'f', digits)), qPrintable(unit),
                met ? "met" : "MISSED");
    std::fflush(stdout);
    return met;
}

} // namespace BenchSummary

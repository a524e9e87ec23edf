#pragma once

#include <QString>

// One row of the summary table that scripts/bench.sh prints at the end: the figure, its value
// (a ratio to the baseline of the same run, or a time or size) and its goal. A benchmark prints
// one such line per figure it checks; the script collects them from every benchmark's output.
namespace BenchSummary {

// Prints "summary: <figure> | <value><unit> | <= <goal><unit> | met|MISSED" on standard output
// and returns whether the goal is met.
bool report(const QString& figure, double value, double goal, const QString& unit = QString());

} // namespace BenchSummary

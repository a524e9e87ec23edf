#pragma once

#include <QDate>
#include <QDateTime>

namespace vok {

// The current date and time, fixed by tests and by as-of runs of the command line.
class Clock {
public:
    static QDateTime now();
    static QDate today() { return now().date(); }
    static void setFixed(const QDateTime& instant);
    static void reset();
    static bool isFixed();
};

} // namespace vok

#include "clock.h"

namespace vok {

namespace {
QDateTime& fixed() {
    static QDateTime instant;
    return instant;
}
} // namespace

QDateTime Clock::now() {
    return fixed().isValid() ? fixed() : QDateTime::currentDateTime();
}

void Clock::setFixed(const QDateTime& instant) {
    fixed() = instant;
}

void Clock::reset() {
    fixed() = QDateTime();
}

bool Clock::isFixed() {
    return fixed().isValid();
}

} // namespace vok

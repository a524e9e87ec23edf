#pragma once

#include "pagesetup.h"

#include <QDateTime>

namespace vok {

// What elements read while they are laid out: the instant of the run, the page being filled
// and the geometry of the band they print in.
struct ReportContext {
    QDateTime now;
    int pageNumber = 0;
    qreal bandWidth = 0;
    PageSetup setup;
};

} // namespace vok

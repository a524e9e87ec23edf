#pragma once

#include "pagesetup.h"

#include <QDateTime>

namespace vok {

// What elements read while they are laid out: the instant of the run, the page being filled
// (and how many there are, once known) and the geometry of the band they print in.
struct ReportContext {
    QDateTime now;
    int pageNumber = 0;
    int pageCount = 0; // known once every page is laid out; 0 before
    qreal bandWidth = 0;
    PageSetup setup;
};

} // namespace vok

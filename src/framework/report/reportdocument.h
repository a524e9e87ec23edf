#pragma once

#include "pagesetup.h"
#include "reportpage.h"

#include <QList>
#include <QString>

namespace vok {

// What a report run produces: its pages, ready to be painted on a preview, a printer or a PDF.
struct ReportDocument {
    QString title;
    QString subject;
    PageSetup setup;
    QList<ReportPage> pages;
};

} // namespace vok

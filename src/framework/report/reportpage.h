#pragma once

#include "reportitem.h"

#include <QList>

namespace vok {

// One laid-out page: its items in painting order.
struct ReportPage {
    int number = 0;
    QList<ReportItem> items;

    // The items made from the element of this name, in painting order.
    QList<ReportItem> itemsNamed(const QString& id) const;
};

} // namespace vok

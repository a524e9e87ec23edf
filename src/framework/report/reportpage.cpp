#include "reportpage.h"

namespace vok {

QList<ReportItem> ReportPage::itemsNamed(const QString& id) const {
    QList<ReportItem> out;
    for (const ReportItem& item : items) {
        if (item.id == id)
            out << item;
    }
    return out;
}

} // namespace vok

#include "reportband.h"

#include "report.h"
#include "reportelement.h"

namespace vok {

ReportBand::ReportBand(Report* report, Kind kind, const QString& name, qreal height)
    : QObject(report), kind_(kind), height_(height) {
    setObjectName(name);
}

Report* ReportBand::report() const {
    return static_cast<Report*>(parent());
}

QList<ReportElement*> ReportBand::elements() const {
    return findChildren<ReportElement*>(QString(), Qt::FindDirectChildrenOnly);
}

QList<ReportElement*> ReportBand::elementsWithTag(int tag) const {
    QList<ReportElement*> out;
    for (ReportElement* e : elements()) {
        if (e->tag() == tag)
            out << e;
    }
    return out;
}

ReportElement* ReportBand::element(const QString& name) const {
    return findChild<ReportElement*>(name, Qt::FindDirectChildrenOnly);
}

} // namespace vok

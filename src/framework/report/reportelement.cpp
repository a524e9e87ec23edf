#include "reportelement.h"

#include "reportband.h"

namespace vok {

ReportElement::ReportElement(ReportBand* band, const QString& name) : QObject(band) {
    setObjectName(name);
}

ReportBand* ReportElement::band() const {
    return static_cast<ReportBand*>(parent());
}

qreal ReportElement::growth(const ReportContext&) const {
    return 0;
}

ReportItem ReportElement::baseItem(ReportItem::Kind kind) const {
    ReportItem item;
    item.kind = kind;
    item.id = objectName();
    item.box = rect_;
    item.visible = visible_;
    item.tag = tag_;
    return item;
}

} // namespace vok

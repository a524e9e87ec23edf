#include "reportfieldtext.h"

#include "framework/dataset/table.h"

namespace vok {

ReportFieldText::ReportFieldText(ReportBand* band, const QString& name) : ReportLabel(band, name) {}

void ReportFieldText::setField(Table* table, const QString& fieldName) {
    table_ = table;
    fieldName_ = fieldName;
}

QString ReportFieldText::displayText(const ReportContext&) const {
    if (!table_ || !table_->isActive())
        return {};
    return table_->fieldByName(fieldName_).displayText();
}

qreal ReportFieldText::growth(const ReportContext& context) const {
    if (!stretch_)
        return 0;
    const qreal needed = context.setup.fromInch96(
        font().wrappedHeight(displayText(context), width() / context.setup.fromInch96(1)));
    return std::max<qreal>(0, needed - boxHeight(context));
}

ReportItem ReportFieldText::layOut(const ReportContext& context) const {
    ReportItem item = ReportLabel::layOut(context);
    if (stretch_) {
        item.wordWrap = true;
        item.box.setHeight(boxHeight(context) + growth(context));
        item.overflows = false;
    }
    return item;
}

} // namespace vok

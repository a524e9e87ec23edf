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

qreal ReportFieldText::contentHeight(const ReportContext& context) const {
    const qreal fixed = boxHeight(context);
    if (!stretch_)
        return fixed;
    const qreal needed = context.setup.fromInch96(
        font().wrappedHeight(displayText(context), width() / context.setup.fromInch96(1)));
    return std::max(fixed, needed);
}

ReportItem ReportFieldText::layOut(const ReportContext& context) const {
    ReportItem item = ReportLabel::layOut(context);
    if (stretch_) {
        item.wordWrap = true;
        item.box.setHeight(contentHeight(context));
    }
    return item;
}

} // namespace vok

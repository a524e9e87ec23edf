#include "reportsum.h"

#include "framework/dataset/table.h"
#include "numbermask.h"

#include <QLocale>

namespace vok {

ReportSum::ReportSum(ReportBand* band, const QString& name) : ReportLabel(band, name) {}

void ReportSum::setExpression(Table* table, const QString& fieldName) {
    table_ = table;
    fieldName_ = fieldName;
}

void ReportSum::accumulate() {
    if (table_ && table_->isActive())
        value_ += table_->fieldByName(fieldName_).asFloat();
}

QString ReportSum::displayText(const ReportContext&) const {
    if (!mask_.isEmpty())
        return text() + NumberMask(mask_).format(value_);
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return text() + locale.toString(value_, 'g', 15);
}

} // namespace vok

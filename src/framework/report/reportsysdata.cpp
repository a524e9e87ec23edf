#include "reportsysdata.h"

#include "framework/dataset/shortdate.h"

namespace vok {

ReportSysData::ReportSysData(ReportBand* band, Data data, const QString& name)
    : ReportLabel(band, name), data_(data) {
    setAutoSize(true);
}

QString ReportSysData::displayText(const ReportContext& context) const {
    switch (data_) {
    case Data::Date:
        return text() + ShortDate::format(context.now.date());
    case Data::DateTime:
        return text() + ShortDate::formatDateTime(context.now);
    case Data::PageNumber:
    case Data::PageOfPages:
        return pageText(data_, text(), context);
    }
    return text();
}

QString ReportSysData::pageText(Data data, const QString& text, const ReportContext& context) {
    if (data == Data::PageOfPages)
        return QString(text).arg(context.pageNumber).arg(context.pageCount);
    return text + QString::number(context.pageNumber);
}

} // namespace vok

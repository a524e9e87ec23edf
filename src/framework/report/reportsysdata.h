#pragma once

#include "reportlabel.h"

namespace vok {

// System data: the date or the date and time of the run, or the page number, each after the
// element's text as a prefix; or the element's text with the page's number for %1 and the
// number of pages for %2. Page numbers count the sheets of the whole report in reading order,
// pages laid side by side included: they are set once every page is laid out.
class ReportSysData : public ReportLabel {
    Q_OBJECT
public:
    enum class Data { Date, DateTime, PageNumber, PageOfPages };

    explicit ReportSysData(ReportBand* band, Data data, const QString& name = {});

    Data data() const { return data_; }
    void setData(Data data) { data_ = data; }

    QString displayText(const ReportContext& context) const override;
    bool numbersPages() const { return data_ == Data::PageNumber || data_ == Data::PageOfPages; }
    // What a page-number element of this kind and text prints on the context's page.
    static QString pageText(Data data, const QString& text, const ReportContext& context);

private:
    Data data_;
};

} // namespace vok

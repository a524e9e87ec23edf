#pragma once

#include "reportlabel.h"

namespace vok {

// System data: the date or the date and time of the run, or the page number, each after the
// element's text as a prefix.
class ReportSysData : public ReportLabel {
    Q_OBJECT
public:
    enum class Data { Date, DateTime, PageNumber };

    explicit ReportSysData(ReportBand* band, Data data, const QString& name = {});

    Data data() const { return data_; }
    void setData(Data data) { data_ = data; }

    QString displayText(const ReportContext& context) const override;

private:
    Data data_;
};

} // namespace vok

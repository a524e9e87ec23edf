#pragma once

#include "reportlabel.h"

namespace vok {

class Table;

// The sum of a field over the rows of one band: a value is added each time that band prints
// (a band its handler suppresses adds nothing); the sum starts at zero with every run. Shown
// with a number mask, or in the general number format when there is none.
class ReportSum : public ReportLabel {
    Q_OBJECT
public:
    explicit ReportSum(ReportBand* band, const QString& name = {});

    void setExpression(Table* table, const QString& fieldName);
    // The band whose printing adds the field's value.
    void setAccumulateBand(ReportBand* band) { accumulateBand_ = band; }
    ReportBand* accumulateBand() const { return accumulateBand_; }
    void setMask(const QString& mask) { mask_ = mask; }
    const QString& mask() const { return mask_; }

    double value() const { return value_; }
    void reset() { value_ = 0; }
    void accumulate();

    QString displayText(const ReportContext& context) const override;

private:
    Table* table_ = nullptr;
    QString fieldName_;
    ReportBand* accumulateBand_ = nullptr;
    QString mask_;
    double value_ = 0;
};

} // namespace vok

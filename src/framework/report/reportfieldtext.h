#pragma once

#include "reportlabel.h"

namespace vok {

class Table;

// The display text of a field of the current record. A stretching text (a memo) grows
// downwards to show all its lines, and its band grows with it.
class ReportFieldText : public ReportLabel {
    Q_OBJECT
public:
    explicit ReportFieldText(ReportBand* band, const QString& name = {});

    void setField(Table* table, const QString& fieldName);
    Table* table() const { return table_; }
    const QString& fieldName() const { return fieldName_; }
    bool stretch() const { return stretch_; }
    void setStretch(bool on) { stretch_ = on; }

    QString displayText(const ReportContext& context) const override;
    qreal growth(const ReportContext& context) const override;
    ReportItem layOut(const ReportContext& context) const override;

private:
    Table* table_ = nullptr;
    QString fieldName_;
    bool stretch_ = false;
};

} // namespace vok

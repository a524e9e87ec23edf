#pragma once

#include "reportdialog.h"

#include <QDate>
#include <optional>

class QLineEdit;

// A print dialog with a date range under the project: "From date" and "To date", typed in the
// short date format; a field that does not read as a date sets no bound.
class PeriodDialog : public ReportDialog {
    Q_OBJECT
public:
    QLabel* fromLabel; // Label2, "From date"
    QLineEdit* FromDate;
    QLabel* toLabel; // Label3, "To date"
    QLineEdit* ToDate;

    // The bounds as typed; none where the text is no date.
    std::optional<QDate> fromDate() const;
    std::optional<QDate> toDate() const;

protected:
    PeriodDialog(ProjectData* dm, const char* name, const QString& title, QWidget* parent);

    // The last 365 days up to today.
    void prepare() override;
};

#pragma once

#include "reportcontext.h"
#include "reportdocument.h"

#include <QHash>
#include <QList>
#include <QRectF>

namespace vok {

class Report;
class ReportBand;
class ReportSum;

// One run of a report: walks the record-sets, raises the handlers and lays the bands out into
// pages.
class ReportRunner {
public:
    explicit ReportRunner(Report& report);

    ReportDocument run();

private:
    void startPage();
    void finishPage();
    void newPage();
    // The band once per record of its record-set (or once with empty fields), each time
    // followed by its sub-details.
    void printRecords(ReportBand* band);
    void printWithSubDetails(ReportBand* band);
    bool printBand(ReportBand* band);
    qreal bandHeight(const ReportBand* band) const;
    void place(const ReportBand* band, qreal height);

    Report& report_;
    ReportDocument document_;
    ReportContext context_;
    QRectF printable_;
    QList<ReportBand*> bands_;
    QHash<const ReportBand*, QList<ReportBand*>> subDetails_;
    QList<ReportSum*> sums_;
    ReportBand* pageHeader_ = nullptr;
    qreal y_ = 0;
    int bandsOnPage_ = 0;
};

} // namespace vok

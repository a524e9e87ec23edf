#pragma once

#include "reportcontext.h"
#include "reportdocument.h"

#include <QHash>
#include <QList>
#include <QPointF>
#include <QRectF>

namespace vok {

class Report;
class ReportBand;
class ReportElement;
class ReportSum;
class ReportSysData;

// One run of a report: walks the record-sets, raises the handlers and lays the bands out into
// pages.
class ReportRunner {
public:
    explicit ReportRunner(Report& report);

    ReportDocument run();

private:
    // A page-number text laid out on a page: set again once the pages are counted.
    struct Numbered {
        qsizetype item = 0;
        const ReportSysData* element = nullptr;
        QString text;   // the element's text as it was laid out: handlers may change it later
        QPointF origin; // of its band on the page
    };
    using Numbering = QList<QList<Numbered>>; // per page

    ReportDocument runColumn();
    // Gives the page-number texts their sheet's number and the count of sheets.
    void numberPages(ReportDocument& document, const Numbering& numbering);
    void noteNumbered(const ReportElement* element, qsizetype item, const QPointF& origin);
    void startPage();
    void finishPage();
    void newPage();
    // A new page, taking along the band kept with the one that goes there.
    void breakPage();
    // The band once per record of its record-set (or once with empty fields), each time
    // followed by its sub-details.
    void printRecords(ReportBand* band);
    void printWithSubDetails(ReportBand* band);
    bool printBand(ReportBand* band);
    qreal bandHeight(const ReportBand* band) const;
    void place(const ReportBand* band, qreal height);
    void placeItems(const ReportBand* band, QList<ReportItem> items, qreal height,
                    bool frameBottom);
    // A band too tall for any page: its stretching texts run on over as many pages as they
    // take, each page after its header.
    void placeAcrossPages(const ReportBand* band);

    Report& report_;
    ReportDocument document_;
    Numbering numbering_; // of document_'s pages
    ReportContext context_;
    QRectF printable_;
    QList<ReportBand*> bands_;
    QHash<const ReportBand*, QList<ReportBand*>> subDetails_;
    QList<ReportSum*> sums_;
    ReportBand* pageHeader_ = nullptr;
    qreal y_ = 0;
    qreal bodyTop_ = 0; // below the page header
    int bandsOnPage_ = 0;
    // The last band placed, when it is to be kept with the next: where its items start.
    struct Kept {
        const ReportBand* band = nullptr;
        qsizetype firstItem = 0;
        qreal height = 0;
    } kept_;
};

} // namespace vok

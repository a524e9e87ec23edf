#include "reportrunner.h"

#include "framework/dataset/table.h"
#include "framework/ui/clock.h"
#include "report.h"
#include "reportband.h"
#include "reportelement.h"
#include "reportsum.h"

#include <algorithm>

namespace vok {

namespace {

ReportBand* firstOfKind(const QList<ReportBand*>& bands, ReportBand::Kind kind) {
    const auto it = std::find_if(bands.begin(), bands.end(),
                                 [kind](ReportBand* b) { return b->kind() == kind; });
    return it == bands.end() ? nullptr : *it;
}

// Rounding in millimetre layouts must not push a band that fits exactly to the next page.
constexpr qreal fitTolerance = 1e-6;

} // namespace

ReportRunner::ReportRunner(Report& report) : report_(report) {}

ReportDocument ReportRunner::run() {
    document_ = ReportDocument();
    document_.title = report_.title();
    document_.setup = report_.pageSetup();
    printable_ = document_.setup.printableRect();
    context_ = ReportContext();
    context_.now = Clock::now();
    context_.setup = document_.setup;
    context_.bandWidth = printable_.width();

    bands_ = report_.bands();
    for (ReportBand* b : bands_) {
        if (b->kind() == ReportBand::Kind::SubDetail && b->master())
            subDetails_[b->master()].append(b);
    }
    sums_ = report_.findChildren<ReportSum*>();
    for (ReportSum* s : sums_)
        s->reset();
    pageHeader_ = firstOfKind(bands_, ReportBand::Kind::PageHeader);
    ReportBand* detail = firstOfKind(bands_, ReportBand::Kind::Detail);
    ReportBand* summary = firstOfKind(bands_, ReportBand::Kind::Summary);

    if (detail && detail->dataset())
        detail->dataset()->first();
    if (report_.beforePrint)
        report_.beforePrint(report_);

    startPage();
    if (detail)
        printRecords(detail);
    if (summary)
        printBand(summary);
    finishPage();
    return std::move(document_);
}

void ReportRunner::startPage() {
    ReportPage page;
    page.number = static_cast<int>(document_.pages.size()) + 1;
    document_.pages.append(page);
    context_.pageNumber = page.number;
    y_ = printable_.top();
    bandsOnPage_ = 0;
    if (!pageHeader_ || !pageHeader_->isEnabled())
        return;
    bool print = true;
    if (pageHeader_->beforePrint)
        pageHeader_->beforePrint(*pageHeader_, print);
    if (print)
        place(pageHeader_, bandHeight(pageHeader_));
}

void ReportRunner::finishPage() {
    ReportPage& page = document_.pages.last();
    const QRectF paper(QPointF(0, 0), document_.setup.paperSize());
    for (const ReportElement* e : report_.pageLevel()->elements()) {
        ReportItem item = e->layOut(context_);
        item.bandPos = item.box.topLeft();
        item.clip = paper;
        page.items.append(std::move(item));
    }
}

void ReportRunner::newPage() {
    finishPage();
    startPage();
}

void ReportRunner::printRecords(ReportBand* band) {
    if (!band->isEnabled())
        return;
    ReportBand* header = band->header();
    Table* table = band->dataset();
    if (table) {
        table->first();
        if (table->eof() && !band->printIfEmpty())
            return;
    }
    if (header)
        printBand(header);
    if (!table || table->eof()) {
        printWithSubDetails(band);
        return;
    }
    for (; !table->eof(); table->next())
        printWithSubDetails(band);
}

void ReportRunner::printWithSubDetails(ReportBand* band) {
    if (!printBand(band) && band->cancelsSubDetails())
        return;
    for (ReportBand* child : subDetails_.value(band))
        printRecords(child);
}

bool ReportRunner::printBand(ReportBand* band) {
    if (!band->isEnabled())
        return false;
    bool print = true;
    if (band->beforePrint)
        band->beforePrint(*band, print);
    if (!print)
        return false;
    if (band->forceNewPage() && bandsOnPage_ > 0)
        newPage();
    const qreal height = bandHeight(band);
    // A band taller than a whole page prints on a page of its own rather than looping.
    if (y_ + height > printable_.bottom() + fitTolerance && bandsOnPage_ > 0)
        newPage();
    place(band, height);
    ++bandsOnPage_;
    for (ReportSum* s : sums_) {
        if (s->accumulateBand() == band)
            s->accumulate();
    }
    return true;
}

qreal ReportRunner::bandHeight(const ReportBand* band) const {
    qreal growth = 0;
    for (const ReportElement* e : band->elements()) {
        if (e->isVisible())
            growth = std::max(growth, e->growth(context_));
    }
    return band->height() + growth;
}

void ReportRunner::place(const ReportBand* band, qreal height) {
    ReportPage& page = document_.pages.last();
    const QPointF origin(printable_.left(), y_);
    const QRectF bandRect(origin, QSizeF(printable_.width(), height));
    const QString name = band->objectName();
    for (const ReportElement* e : band->elements()) {
        ReportItem item = e->layOut(context_);
        item.band = name;
        item.bandPos = item.box.topLeft();
        item.box.translate(origin);
        item.clip = bandRect;
        page.items.append(std::move(item));
    }
    if (band->frameBottom()) {
        ReportItem frame;
        frame.kind = ReportItem::Kind::HorizontalLine;
        frame.band = name;
        frame.box = QRectF(bandRect.left(), bandRect.bottom(), bandRect.width(), 0);
        frame.bandPos = QPointF(0, height);
        frame.clip = bandRect.adjusted(0, 0, 0, 1);
        page.items.append(std::move(frame));
    }
    y_ += height;
}

} // namespace vok

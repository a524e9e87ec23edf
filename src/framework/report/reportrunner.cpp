#include "reportrunner.h"

#include "framework/dataset/table.h"
#include "framework/ui/clock.h"
#include "report.h"
#include "reportband.h"
#include "reportelement.h"
#include "reportlabel.h"
#include "reportsum.h"
#include "reportsysdata.h"

#include <algorithm>
#include <utility>

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
    report_.setPageColumn(0, 1);
    ReportDocument first = runColumn();
    const int columns = report_.pagesAcross ? report_.pagesAcross() : 1;
    if (columns <= 1) {
        numberPages(first, numbering_);
        return first;
    }
    // Every column again, now that each knows how many there are; then the pages in reading
    // order: each row of pages from left to right.
    QList<std::pair<ReportDocument, Numbering>> runs;
    for (int column = 0; column < columns; ++column) {
        report_.setPageColumn(column, columns);
        ReportDocument d = runColumn();
        runs.append({std::move(d), std::move(numbering_)});
    }
    report_.setPageColumn(0, 1);
    ReportDocument out = runs.first().first;
    out.pages.clear();
    Numbering numbering;
    qsizetype rows = 0;
    for (const auto& [d, n] : runs)
        rows = std::max(rows, d.pages.size());
    for (qsizetype row = 0; row < rows; ++row) {
        for (const auto& [d, n] : runs) {
            if (row < d.pages.size()) {
                out.pages << d.pages[row];
                numbering << n.value(row);
            }
        }
    }
    numberPages(out, numbering);
    return out;
}

void ReportRunner::numberPages(ReportDocument& document, const Numbering& numbering) {
    context_.pageCount = static_cast<int>(document.pages.size());
    for (qsizetype p = 0; p < document.pages.size(); ++p) {
        ReportPage& page = document.pages[p];
        page.number = static_cast<int>(p) + 1;
        context_.pageNumber = page.number;
        for (const Numbered& n : numbering.value(p)) {
            ReportItem& item = page.items[n.item];
            // The text and how wide it is change; where it stands in its band does not.
            const ReportItem fresh = n.element->layOutAs(
                context_, ReportSysData::pageText(n.element->data(), n.text, context_));
            item.text = fresh.text;
            item.overflows = fresh.overflows;
            item.box.setLeft(fresh.box.left() + n.origin.x());
            item.box.setWidth(fresh.box.width());
            item.bandPos.setX(fresh.box.left());
        }
    }
}

void ReportRunner::noteNumbered(const ReportElement* element, qsizetype item,
                                const QPointF& origin) {
    const auto* sys = qobject_cast<const ReportSysData*>(element);
    if (sys && sys->numbersPages())
        numbering_.last() << Numbered{item, sys, sys->text(), origin};
}

ReportDocument ReportRunner::runColumn() {
    document_ = ReportDocument();
    numbering_.clear();
    subDetails_.clear();
    kept_ = {};
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
    if (report_.subject)
        document_.subject = report_.subject();

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
    numbering_.append(QList<Numbered>());
    context_.pageNumber = page.number;
    y_ = printable_.top();
    bodyTop_ = y_;
    bandsOnPage_ = 0;
    if (!pageHeader_ || !pageHeader_->isEnabled())
        return;
    bool print = true;
    if (pageHeader_->beforePrint)
        pageHeader_->beforePrint(*pageHeader_, print);
    if (print)
        place(pageHeader_, bandHeight(pageHeader_));
    bodyTop_ = y_;
}

void ReportRunner::finishPage() {
    ReportPage& page = document_.pages.last();
    const QRectF paper(QPointF(0, 0), document_.setup.paperSize());
    for (const ReportElement* e : report_.pageLevel()->elements()) {
        noteNumbered(e, page.items.size(), QPointF(0, 0));
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
        breakPage();
    const qreal height = bandHeight(band);
    const qreal bottom = printable_.bottom() + fitTolerance;
    // A band that does not fit goes to the next page, unless it would not fit there either: then
    // it starts here if its fixed part does, and runs on.
    if (y_ + height > bottom && bandsOnPage_ > 0 &&
        (bodyTop_ + height <= bottom || y_ + band->height() > bottom))
        breakPage();
    const qsizetype firstItem = document_.pages.last().items.size();
    if (y_ + height > bottom)
        placeAcrossPages(band);
    else
        place(band, height);
    ++bandsOnPage_;
    kept_ = band->keepWithNext() ? Kept{band, firstItem, height} : Kept{};
    for (ReportSum* s : sums_) {
        if (s->accumulateBand() == band)
            s->accumulate();
    }
    return true;
}

void ReportRunner::breakPage() {
    const Kept kept = std::exchange(kept_, {});
    // Alone on its page it would be alone on the next one too.
    const bool move = kept.band && bandsOnPage_ > 1;
    if (move) {
        document_.pages.last().items.resize(kept.firstItem);
        numbering_.last().removeIf([&kept](const Numbered& n) { return n.item >= kept.firstItem; });
    }
    newPage();
    if (move) {
        place(kept.band, kept.height);
        ++bandsOnPage_;
    }
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
    QList<ReportItem> items;
    const qsizetype first = document_.pages.last().items.size();
    for (const ReportElement* e : band->elements()) {
        noteNumbered(e, first + items.size(), QPointF(printable_.left(), y_));
        items << e->layOut(context_);
    }
    placeItems(band, std::move(items), height, band->frameBottom());
}

void ReportRunner::placeItems(const ReportBand* band, QList<ReportItem> items, qreal height,
                              bool frameBottom) {
    ReportPage& page = document_.pages.last();
    const QPointF origin(printable_.left(), y_);
    const QRectF bandRect(origin, QSizeF(printable_.width(), height));
    const QString name = band->objectName();
    for (ReportItem& item : items) {
        item.band = name;
        item.bandPos = item.box.topLeft();
        item.box.translate(origin);
        item.clip = bandRect;
        page.items.append(std::move(item));
    }
    if (frameBottom) {
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

void ReportRunner::placeAcrossPages(const ReportBand* band) {
    // A stretching text, laid out whole once, then shown a run of its lines per page.
    struct Flow {
        ReportItem item;
        QStringList lines;
        qsizetype next = 0;
        qreal width96 = 0;   // the width lines are wrapped in, in 1/96 inch
        qreal minHeight = 0; // the box as set, before it grew
        qreal below = 0;     // the band's room under the box
    };
    const PageSetup& setup = context_.setup;
    const QList<ReportElement*> elements = band->elements();
    QHash<const ReportElement*, Flow> flows;
    for (const ReportElement* e : elements) {
        const auto* text = qobject_cast<const ReportLabel*>(e);
        const qreal growth = e->isVisible() ? e->growth(context_) : 0;
        if (!text || growth <= 0)
            continue;
        Flow f;
        f.item = e->layOut(context_);
        f.width96 = e->width() / setup.fromInch96(1);
        f.lines = text->font().wrappedLines(f.item.text, f.width96);
        f.minHeight = f.item.box.height() - growth;
        f.below = std::max<qreal>(0, band->height() - e->top() - f.minHeight);
        flows.insert(e, f);
    }
    const auto heightOf = [&setup](const Flow& f, qsizetype count) {
        const QString text = f.lines.mid(f.next, count).join(QLatin1Char('\n'));
        return std::max(f.minHeight, setup.fromInch96(f.item.font.wrappedHeight(text, f.width96)));
    };
    for (bool first = true;; first = false) {
        const qreal room = printable_.bottom() - y_;
        bool more = false;
        qreal height = first ? band->height() : 0;
        QList<ReportItem> items;
        for (const ReportElement* e : elements) {
            const auto flow = flows.find(e);
            if (flow == flows.end()) {
                if (first) {
                    noteNumbered(e, document_.pages.last().items.size() + items.size(),
                                 QPointF(printable_.left(), y_));
                    items << e->layOut(context_);
                }
                continue;
            }
            Flow& f = flow.value();
            if (f.next >= f.lines.size())
                continue;
            const qreal top = first ? f.item.box.top() : 0;
            qsizetype count = f.lines.size() - f.next;
            if (top + heightOf(f, count) > room + fitTolerance) {
                // At least one line a page, however little room a page leaves.
                const qreal line = setup.fromInch96(f.item.font.lineHeight());
                count =
                    std::clamp<qsizetype>(static_cast<qsizetype>((room - top) / line), 1, count);
                while (count > 1 && top + heightOf(f, count) > room + fitTolerance)
                    --count;
            }
            ReportItem piece = f.item;
            piece.box.moveTop(top);
            piece.box.setHeight(heightOf(f, count));
            piece.text = f.lines.mid(f.next, count).join(QLatin1Char('\n'));
            piece.wordWrap = true;
            piece.overflows = false;
            f.next += count;
            more = more || f.next < f.lines.size();
            height = std::max(height, piece.box.bottom() + f.below);
            items << piece;
        }
        if (!more) {
            placeItems(band, std::move(items), height, band->frameBottom());
            return;
        }
        placeItems(band, std::move(items), room, false);
        newPage();
    }
}

} // namespace vok

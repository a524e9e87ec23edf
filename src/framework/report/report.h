#pragma once

#include "pagesetup.h"
#include "reportband.h"
#include "reportdocument.h"
#include "reportfont.h"

#include <QObject>
#include <functional>
#include <memory>

class QPrinter;

namespace vok {

class ReportLabel;

// A banded report: paper, margins, unit, default font, bands with their elements, and
// handlers. A run walks the record-sets and lays the bands out into pages; the pages are then
// shown in the preview, printed, or written to a PDF.
//
// Running: the detail band's record-set is put on its first record and the report's
// beforePrint handler runs; every page starts with the page header (its handler runs before
// each one); the detail prints once per record, each record followed by its sub-details in the
// order they were made (each once per record of its own record-set, a sub-detail's header
// before its first record; none under a cancelled band that cancels its sub-details); the summary
// prints at the end. A band that does not fit in what is left of the page goes to the next page
// (taking along a band kept with it); one whose stretching texts would not fit on any page starts
// where it is and runs on over as many pages as they take, each after the page header.
// Page-level elements are laid out when a page is finished, over everything else on it.
class Report : public QObject {
    Q_OBJECT
public:
    explicit Report(QObject* parent = nullptr);
    ~Report() override;

    // The title of the pages (the preview's, the PDF's, a print job's): what the title label
    // prints, in whatever language it was given, or else the title set.
    QString title() const;
    void setTitle(const QString& title) { title_ = title; }
    void setTitleLabel(const ReportLabel* label) { titleLabel_ = label; }
    const PageSetup& pageSetup() const { return setup_; }
    void setPageSetup(const PageSetup& setup) { setup_ = setup; }
    // Font of the texts made after it is set.
    const ReportFont& defaultFont() const { return defaultFont_; }
    void setDefaultFont(const ReportFont& font) { defaultFont_ = font; }
    qreal bandWidth() const { return setup_.printableRect().width(); }

    ReportBand* addBand(ReportBand::Kind kind, const QString& name, qreal height);
    // Every band but the page level, in the order they were made.
    QList<ReportBand*> bands() const;
    // Holds the elements printed on every page, at page coordinates.
    ReportBand* pageLevel() const { return pageLevel_; }

    // Called once at the start of every run.
    std::function<void(Report& report)> beforePrint;
    // What the pages are about (a PDF's subject), read after beforePrint.
    std::function<QString()> subject;
    // Pages side by side, for a report wider than its paper: after a first run, how many
    // columns of pages the report needs. With more than one, the report runs once per column
    // (handlers read which from pageColumn) and the pages come row by row, left to right.
    std::function<int()> pagesAcross;
    int pageColumn() const { return pageColumn_; }
    int pageColumns() const { return pageColumns_; }
    void setPageColumn(int column, int columns) {
        pageColumn_ = column;
        pageColumns_ = columns;
    }

    ReportDocument run();

    // Runs the report and shows the pages in the modal preview.
    void preview();
    // Shows the printer set-up dialog when asked to (printing whatever its answer), runs the
    // report and prints it; with no printer installed it writes a PDF and says where.
    void print(bool showSetupDialog);
    void exportPdf(const QString& path);

    // The printer settings, kept from one print to the next.
    QPrinter& printer();

private:
    QString title_;
    const ReportLabel* titleLabel_ = nullptr;
    PageSetup setup_;
    ReportFont defaultFont_;
    ReportBand* pageLevel_;
    std::unique_ptr<QPrinter> printer_;
    int pageColumn_ = 0;
    int pageColumns_ = 1;
};

} // namespace vok

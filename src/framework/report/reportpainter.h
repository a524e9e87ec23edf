#pragma once

#include <memory>

class QPainter;
class QPrinter;
class QTransform;

namespace vok {

struct ReportDocument;
struct ReportPage;
class PageSetup;
class PagePainter;

// Paints laid-out pages on any device: the paper's top-left corner at the device's origin,
// report units scaled to the device's resolution.
class ReportPainter {
public:
    // Paints pages one after another on one device, remembering its fonts and the texts it
    // shaped from one page to the next: reports repeat their captions, dates and names.
    ReportPainter(QPainter& painter, const PageSetup& setup);
    ~ReportPainter();
    void paintPage(const ReportPage& page);

    static void paint(QPainter& painter, const ReportPage& page, const PageSetup& setup);
    // Every page in the printer's page range, as many copies as it asks for and cannot make
    // itself; the printer must be set to full-page. Paper smaller than the report's, or turned
    // the other way, gets the pages shrunk to fit and centred: nothing is cut off.
    static void paint(QPrinter& printer, const ReportDocument& document);
    // How report pages are placed on the printer's paper, in device pixels from its corner.
    static QTransform fitToPaper(const QPrinter& printer, const PageSetup& setup);

private:
    std::unique_ptr<PagePainter> pages_;
};

} // namespace vok

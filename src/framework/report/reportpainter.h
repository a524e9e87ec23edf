#pragma once

class QPainter;
class QPrinter;

namespace vok {

struct ReportDocument;
struct ReportPage;
class PageSetup;

// Paints laid-out pages on any device: the paper's top-left corner at the device's origin,
// report units scaled to the device's resolution.
class ReportPainter {
public:
    static void paint(QPainter& painter, const ReportPage& page, const PageSetup& setup);
    // Every page in the printer's page range, as many copies as it asks for and cannot make
    // itself; the printer must be set to full-page.
    static void paint(QPrinter& printer, const ReportDocument& document);
};

} // namespace vok

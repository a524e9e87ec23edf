#pragma once

#include <QString>
#include <functional>

class QPrinter;

namespace vok {

struct ReportDocument;
class PageSetup;

// Printing laid-out pages: the printer set-up dialog, the printer itself, and a PDF in the
// user's documents folder when no printer is installed.
class ReportPrinter {
public:
    // Stands in for the printer (tests): receives what would be printed. While one is set a
    // printer counts as installed.
    using Handler = std::function<void(QPrinter& printer, const ReportDocument& document)>;
    static void setHandler(Handler handler);

    static bool printerInstalled();
    // Gives the printer the report's paper and orientation and lets the report draw at paper
    // coordinates.
    static void prepare(QPrinter& printer, const PageSetup& setup);
    // The printer set-up dialog (printer, copies, page range, orientation). Whatever the user
    // answers, the caller prints: cancelling only keeps the former settings.
    static void showSetupDialog(QPrinter& printer);
    // Prints on the printer; with no printer installed writes a PDF (to the file chosen in the
    // set-up dialog, or a new one in the documents folder) and tells the user where.
    static void print(const ReportDocument& document, QPrinter& printer);
    // The modal preview; it may print from its own tool bar.
    static void preview(const ReportDocument& document, QPrinter& printer);

    // A file name in the documents folder that does not exist yet, named after the report.
    static QString newPdfPath(const QString& title);
};

} // namespace vok

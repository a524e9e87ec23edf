#pragma once

#include <QString>
#include <functional>

class QPrinter;

namespace vok {

struct ReportDocument;
class PageSetup;

// Printing laid-out pages: the printer set-up dialog, the printer itself, a PDF file the user
// chose in that dialog, and a PDF in the user's documents folder when no printer is installed.
// A print goes where the user chose or the user is told where it went: never silently to a file.
class ReportPrinter {
public:
    // Stands in for the printer (tests): receives what would be sent to the printer. While one
    // is set a printer counts as installed. Files chosen in the set-up dialog are still written.
    using Handler = std::function<void(QPrinter& printer, const ReportDocument& document)>;
    static void setHandler(Handler handler);

    static bool printerInstalled();
    // Gives the printer the report's paper and orientation and lets the report draw at paper
    // coordinates.
    static void prepare(QPrinter& printer, const PageSetup& setup);
    // The printer set-up dialog (printer or file, copies, page range; the paper under its
    // properties). Accepted, its choices apply; the paper stays the report's unless the user
    // opened the page set-up. Cancelled, the printer is left exactly as it was, whatever was
    // picked in it. Says whether it was accepted.
    static bool showSetupDialog(QPrinter& printer);

    // Where a print goes: the printer; the PDF file chosen in the set-up dialog; or, with no
    // printer installed, a new PDF in the documents folder.
    enum class Destination { Printer, ChosenFile, NewPdf };
    static Destination destination(const QPrinter& printer);
    // Prints to the destination and says where a file went. A file chosen in the set-up dialog
    // is for that print: the next one goes to the printer again.
    static void print(const ReportDocument& document, QPrinter& printer);
    // The modal preview; it may print from its own tool bar.
    static void preview(const ReportDocument& document, QPrinter& printer);

    // A file name in the documents folder that does not exist yet, named after the report.
    static QString newPdfPath(const QString& title);
};

} // namespace vok

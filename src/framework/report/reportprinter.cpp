#include "reportprinter.h"

#include "framework/io/plainfilename.h"
#include "framework/ui/messages.h"
#include "framework/ui/modal.h"
#include "pagesetup.h"
#include "reportdocument.h"
#include "reportpainter.h"
#include "reportpdf.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QStandardPaths>

namespace vok {

namespace {

ReportPrinter::Handler& handler() {
    static ReportPrinter::Handler h;
    return h;
}

QString fileNameOf(const QString& title) {
    // Room for " (n).pdf".
    return PlainFileName::from(title, QStringLiteral("Report"), 16);
}

} // namespace

void ReportPrinter::setHandler(Handler h) {
    handler() = std::move(h);
}

bool ReportPrinter::printerInstalled() {
    return handler() || !QPrinterInfo::availablePrinterNames().isEmpty();
}

void ReportPrinter::prepare(QPrinter& printer, const PageSetup& setup) {
    printer.setFullPage(true);
    printer.setPageLayout(setup.pageLayout());
}

void ReportPrinter::showSetupDialog(QPrinter& printer) {
    QPrintDialog dialog(&printer);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    Modal::exec(&dialog);
}

void ReportPrinter::print(const ReportDocument& document, QPrinter& printer) {
    if (handler()) {
        handler()(printer, document);
        return;
    }
    if (printerInstalled() && printer.outputFormat() == QPrinter::NativeFormat) {
        ReportPainter::paint(printer, document);
        return;
    }
    // A PDF: the file chosen in the set-up dialog, or a new one.
    QString path = printer.outputFileName();
    if (path.isEmpty()) {
        path = newPdfPath(document.title);
        ReportPdf::write(document, path);
    } else {
        ReportPainter::paint(printer, document);
    }
    if (!printerInstalled())
        Messages::inform(QStringLiteral("No printer is installed. The report was saved as %1")
                             .arg(QDir::toNativeSeparators(path)));
}

void ReportPrinter::preview(const ReportDocument& document, QPrinter& printer) {
    prepare(printer, document.setup);
    printer.setPrintRange(QPrinter::AllPages);
    QPrintPreviewDialog dialog(&printer);
    dialog.setWindowTitle(document.title);
    // Large enough to read a page without zooming first.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        dialog.resize(screen->availableGeometry().size() * 0.85);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&document](QPrinter* target) { ReportPainter::paint(*target, document); });
    Modal::exec(&dialog);
}

QString ReportPrinter::newPdfPath(const QString& title) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        folder = QDir::tempPath();
    const QString base = fileNameOf(title);
    QString path = QDir(folder).filePath(base + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QDir(folder).filePath(QStringLiteral("%1 (%2).pdf").arg(base).arg(n));
    return path;
}

} // namespace vok

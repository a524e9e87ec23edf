#include "reportprinter.h"

#include "framework/dataset/databaseerror.h"
#include "framework/io/filewriter.h"
#include "framework/io/plainfilename.h"
#include "framework/ui/messages.h"
#include "framework/ui/modal.h"
#include "pagesetup.h"
#include "reportdocument.h"
#include "reportpainter.h"
#include "reportpdf.h"
#include "reportpreview.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

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

// What the set-up dialog may change, to be put back when it is cancelled: Qt's dialog changes
// the printer as soon as another printer or "Print to File" is picked in it.
struct PrinterState {
    explicit PrinterState(const QPrinter& p)
        : format(p.outputFormat()), name(p.printerName()), file(p.outputFileName()),
          layout(p.pageLayout()), copies(p.copyCount()), collate(p.collateCopies()),
          range(p.printRange()), from(p.fromPage()), to(p.toPage()), duplex(p.duplex()),
          colour(p.colorMode()) {}

    void restore(QPrinter& p) const {
        // The file first: an empty one makes a printer of a queue again, a ".pdf" one a file.
        p.setOutputFileName(file);
        p.setOutputFormat(format);
        if (format == QPrinter::NativeFormat && !name.isEmpty())
            p.setPrinterName(name);
        p.setPageLayout(layout);
        p.setCopyCount(copies);
        p.setCollateCopies(collate);
        p.setPrintRange(range);
        p.setFromTo(from, to);
        p.setDuplex(duplex);
        p.setColorMode(colour);
    }

    QPrinter::OutputFormat format;
    QString name;
    QString file;
    QPageLayout layout;
    int copies;
    bool collate;
    QPrinter::PrintRange range;
    int from;
    int to;
    QPrinter::DuplexMode duplex;
    QPrinter::ColorMode colour;
};

bool within(const QObject* o, const QObject* ancestor) {
    for (const QObject* p = o->parent(); p; p = p->parent()) {
        if (p == ancestor)
            return true;
    }
    return false;
}

// Qt's print dialog gives a printer of a queue the queue's default paper when it is accepted,
// whatever paper the printer carried (its page set-up, under Properties, starts on that paper
// too): a legal landscape time line would go out shrunk onto A4. Attached to a print dialog,
// this gives the printer back the paper it had, unless the user chose one in the page set-up
// (opened it and answered OK).
class PaperKeeper : public QObject {
public:
    explicit PaperKeeper(QPrintDialog* dialog)
        : QObject(dialog), dialog_(dialog), asked_(dialog->printer()->pageLayout()) {
        qApp->installEventFilter(this);
        connect(dialog, qOverload<QPrinter*>(&QPrintDialog::accepted), this, [this](QPrinter* p) {
            if (!paperChosen_)
                p->setPageLayout(asked_);
        });
    }
    ~PaperKeeper() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Any dialog the print dialog opens but its file chooser and its warnings: its
        // properties, where the paper is chosen. Only an accepted one chose a paper.
        auto* inner = qobject_cast<QDialog*>(watched);
        if (event->type() == QEvent::Hide && inner && !qobject_cast<QFileDialog*>(inner) &&
            !qobject_cast<QMessageBox*>(inner) && within(inner, dialog_) &&
            inner->result() == QDialog::Accepted)
            paperChosen_ = true;
        return false;
    }

private:
    QPrintDialog* dialog_;
    const QPageLayout asked_;
    bool paperChosen_ = false;
};

// A printer that prints to a queue: the one it names if that queue is still there, else the
// default one (a printer made before any queue existed prints to files until told otherwise).
void toQueue(QPrinter& printer) {
    const QStringList queues = QPrinterInfo::availablePrinterNames();
    if (printer.outputFormat() == QPrinter::NativeFormat && printer.outputFileName().isEmpty() &&
        queues.contains(printer.printerName()))
        return;
    const QString name = queues.contains(printer.printerName())
                             ? printer.printerName()
                             : QPrinterInfo::defaultPrinterName();
    printer.setOutputFileName(QString());
    printer.setOutputFormat(QPrinter::NativeFormat);
    if (!name.isEmpty())
        printer.setPrinterName(name);
    else if (!queues.isEmpty())
        printer.setPrinterName(queues.first());
}

// The pages as the printer lays them out (its paper, page range and copies), into the file the
// user chose, through the checked writer and with the document's subject.
void writeChosenFile(const ReportDocument& document, QPrinter& printer) {
    const QString path = printer.outputFileName();
    QTemporaryDir scratch;
    if (!scratch.isValid())
        throw DatabaseError(
            QStringLiteral("Cannot create file \"%1\"").arg(QDir::toNativeSeparators(path)));
    const QString printed = scratch.filePath(QStringLiteral("report.pdf"));
    printer.setOutputFileName(printed);
    try {
        ReportPainter::paint(printer, document);
    } catch (...) {
        printer.setOutputFileName(path);
        throw;
    }
    printer.setOutputFileName(path);
    QFile file(printed);
    if (!file.open(QIODevice::ReadOnly))
        throw DatabaseError(
            QStringLiteral("Cannot create file \"%1\"").arg(QDir::toNativeSeparators(path)));
    FileWriter::write(path, ReportPdf::withInfo(document, file.readAll()));
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

bool ReportPrinter::showSetupDialog(QPrinter& printer) {
    const PrinterState before(printer);
    QPrintDialog dialog(&printer);
    new PaperKeeper(&dialog);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (Modal::exec(&dialog) == QDialog::Accepted)
        return true;
    before.restore(printer);
    return false;
}

ReportPrinter::Destination ReportPrinter::destination(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return Destination::ChosenFile;
    return printerInstalled() ? Destination::Printer : Destination::NewPdf;
}

void ReportPrinter::print(const ReportDocument& document, QPrinter& printer) {
    printer.setDocName(document.title);
    switch (destination(printer)) {
    case Destination::Printer:
        toQueue(printer);
        if (handler())
            handler()(printer, document);
        else
            ReportPainter::paint(printer, document);
        return;
    case Destination::ChosenFile: {
        const QString path = printer.outputFileName();
        writeChosenFile(document, printer);
        if (printerInstalled())
            toQueue(printer);
        Messages::inform(QCoreApplication::translate("Printing", "The report was saved as %1")
                             .arg(QDir::toNativeSeparators(path)));
        return;
    }
    case Destination::NewPdf: {
        const QString path = newPdfPath(document.title);
        ReportPdf::write(document, path);
        Messages::inform(QCoreApplication::translate(
                             "Printing", "No printer is installed. The report was saved as %1")
                             .arg(QDir::toNativeSeparators(path)));
        return;
    }
    }
}

void ReportPrinter::preview(const ReportDocument& document, QPrinter& printer) {
    prepare(printer, document.setup);
    printer.setDocName(document.title);
    printer.setPrintRange(QPrinter::AllPages);
    ReportPreview dialog(document, printer);
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
